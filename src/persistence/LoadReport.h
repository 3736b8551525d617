#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// What a load did not take from its file as written, for the user to look over afterwards: the
// lines that fit neither line form, the entries no question takes, the names given more than once
// (discarded whole), the repeated items past what their list may hold, and the retired names whose
// answers moved to the current questions. Each kind counts everything and keeps examples: the first
// few for the report at a glance, and the ones after them, up to a bound, for the whole listing.
struct SLoadReport {
    enum class EOutcome {
        // The form holds the file's answers.
        Loaded,
        // Not one line of the file fits the line forms: the form was left as it was.
        NotAnOrvikFile,
        // The file could not be read (`readError` says why): the form was left as it was.
        NotRead,
    };

    struct SKind {
        std::size_t count = 0;
        // The first kMaxExamples, each cut to a readable length.
        std::vector<std::wstring> examples;
        // The examples after those, up to kMaxKeptExamples in all.
        std::vector<std::wstring> moreExamples;

        // Counts one more, kept as an example while there is room.
        void Add(std::wstring_view example);
        // Keeps one more example as it is, without counting it, while there is room: for a kind
        // whose count is known apart from its examples.
        void Keep(std::wstring example);
    };
    static constexpr std::size_t kMaxExamples = 5;
    // A file of junk may hold millions of lines: past this many, examples are only counted.
    static constexpr std::size_t kMaxKeptExamples = 1000;

    std::wstring path;
    EOutcome outcome = EOutcome::Loaded;
    std::wstring readError;
    SKind unreadLines;
    SKind unknownFields;
    SKind duplicates;
    SKind beyondLimit;
    SKind upgraded;

    // Nothing to tell: the file was loaded and every entry went where its name says.
    bool Clean() const;
    // The report as `orvik check` words its own: a heading per kind that has any, "[unknown] 2
    // fields", with its examples indented under it and "and 3 more" for the rest; a file that was
    // not loaded first says why, "[not loaded] not an Orvik file". Empty when Clean.
    std::vector<std::wstring> Lines() const;
    // The same with every example kept under each heading; "and 3 more" only for those past
    // kMaxKeptExamples.
    std::vector<std::wstring> AllLines() const;
};
