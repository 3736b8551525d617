#pragma once

#include <concepts>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// A condition or action of a rule together with the parent fields it reads, by name pattern. A
// record's parents are what its conditions and actions read, so each of them says so itself: a
// callable that has a Reads() of its own (the parent tests, the and/or combinations) brings its
// names along, any other one reads no parent unless it is given names.
template <class Signature> class CReadingFunction;

template <class R, class Arg> class CReadingFunction<R(Arg)> {
public:
    using Names = std::vector<std::wstring>;

    CReadingFunction() = default;
    CReadingFunction(std::nullptr_t) {}

    template <class F>
    requires(!std::same_as<std::remove_cvref_t<F>, CReadingFunction> && std::is_invocable_r_v<R, F&, Arg>)
        CReadingFunction(F callable) {
        if constexpr (requires { callable.Reads(); }) {
            for (const auto& name : callable.Reads()) {
                AddRead(name);
            }
        }
        call_ = std::move(callable);
    }

    template <class F>
    requires std::is_invocable_r_v<R, F&, Arg> CReadingFunction(Names reads, F callable)
        : call_(std::move(callable)) {
        for (std::wstring& name : reads) {
            AddRead(std::move(name));
        }
    }

    R operator()(Arg arg) const { return call_(arg); }
    explicit operator bool() const noexcept { return static_cast<bool>(call_); }

    // The parents read, each once, in the order they were first named.
    const Names& Reads() const { return reads_; }

    // Adds the names `other` reads that are not read yet.
    template <class Other> void AddReadsOf(const Other& other) {
        for (const std::wstring& name : other.Reads()) {
            AddRead(name);
        }
    }

private:
    void AddRead(std::wstring name) {
        for (const std::wstring& read : reads_) {
            if (read == name) {
                return;
            }
        }
        reads_.push_back(std::move(name));
    }

    std::function<R(Arg)> call_;
    Names reads_;
};
