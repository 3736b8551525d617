#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifdef ORVIK_CLI_PATH

struct SRun {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs the built tool in a fresh directory of its own and captures what it writes.
class CliTool : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/orvik-cli-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }

    std::string Read(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    SRun Run(const std::vector<std::string>& args) const {
        const std::string out = Path(".stdout");
        const std::string err = Path(".stderr");
        const pid_t pid = ::fork();
        if (pid == 0) {
            const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0 ||
                ::chdir(dir_.c_str()) != 0) {
                ::_exit(127);
            }
            std::vector<char*> argv = {const_cast<char*>(ORVIK_CLI_PATH)};
            for (const std::string& a : args) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(ORVIK_CLI_PATH, argv.data());
            ::_exit(127);
        }
        SRun run;
        int status = 0;
        if (pid > 0 && ::waitpid(pid, &status, 0) == pid) {
            // A crash shows as 128 + the signal, which no test expects.
            run.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        run.out = Read(".stdout");
        run.err = Read(".stderr");
        std::filesystem::remove(out);
        std::filesystem::remove(err);
        return run;
    }

    std::filesystem::path dir_;
};

#endif
