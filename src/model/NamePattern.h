#pragma once

#include "text/Text.h"

#include <optional>
#include <regex>
#include <string>
#include <string_view>
#include <vector>

// A field's name pattern, such as ^Src_PDO_Voltage([0-9]+)$ or ^\$Vendor_Name$, parsed once.
//
// Every name pattern of the form is made of literal text and instance-number groups ([0-9]+), so
// matching a name against it as a case-insensitive, whole-text regular expression is done here by
// hand: the loader and the rule lookup match thousands of names per file, and std::wregex is both
// slow and recursive on long input. A pattern that uses any other regular-expression feature falls
// back to a std::wregex with the same semantics, compiled once with the pattern.
class CNamePattern {
public:
    explicit CNamePattern(std::wstring pattern);

    const std::wstring& Pattern() const { return pattern_; }

    // Whole-text match of `name`, ignoring case. With `captures`, the texts of the pattern's groups
    // in order. Throws std::regex_error when the pattern needs the regular-expression fallback and
    // does not compile.
    bool Match(std::wstring_view name, std::vector<std::wstring>* captures = nullptr) const;

    // The printable pieces: the pattern with its anchors and every ([0-9]+) removed, split where
    // those stood (^SVID([0-9]+)_mode([0-9]+)_enter_SOP$ gives "SVID", "_mode", "_enter_SOP").
    const std::vector<std::wstring>& Pieces() const { return piecesAreTexts_ ? texts_ : pieces_; }

    // True when the pattern holds no instance-number group and no other regular-expression feature,
    // so it matches exactly one name (ignoring case): its piece 0.
    bool IsLiteral() const { return simple_ && digitGroups_ == 0; }
    // The one name a literal pattern matches (escapes resolved); empty otherwise.
    std::wstring LiteralText() const;
    // LiteralText in upper case, made once: the lookup indexes of rules and fields are keyed by it.
    const std::wstring& UpperLiteralText() const { return upperLiteral_; }

    // Where a name and the patterns it matches meet without matching one by one: the name in upper
    // case with every run of digits made one '0'. A pattern with instance-number groups has such a
    // key when its literal text holds no digit and no two groups touch; a name then matches it
    // exactly when their keys are equal. Empty for any other pattern.
    const std::wstring& Key() const { return key_; }
    // The name in upper case, and its key; with `runs`, also the runs of digits of `name` in order
    // (views of it). For a keyed pattern and a name of the same key the runs are exactly what
    // Match captures: the key leaves no other way to match.
    static void KeysOf(std::wstring_view name, std::wstring& upper, std::wstring& key,
                       std::vector<std::wstring_view>* runs = nullptr);

private:
    // A literal run (its text in texts_) or an instance-number group.
    struct Token {
        bool digits = false;
        std::size_t text = 0;
    };

    void ParseTokens();
    void SplitPieces();
    bool MatchFrom(std::size_t token, std::wstring_view name, std::size_t pos,
                   std::vector<std::wstring>* captures) const;

    std::wstring pattern_;
    bool simple_ = false;
    int digitGroups_ = 0;
    // Shortest name the pattern can match: its literal characters plus one digit per group.
    std::size_t minLength_ = 0;
    std::vector<Token> tokens_;
    // The texts of the literal runs in order, escapes resolved.
    std::vector<std::wstring> texts_;
    // The pieces, when they are not the literal runs themselves (most patterns: they are).
    std::vector<std::wstring> pieces_;
    bool piecesAreTexts_ = false;
    std::wstring key_;
    std::wstring upperLiteral_;
    // The fallback expression; when it does not compile, its error is raised at every match.
    std::optional<std::wregex> regex_;
    std::optional<std::regex_error> regexError_;
};

// A name's lookup keys (CNamePattern::KeysOf) with their hashes, made once for every table the name
// is looked up in: the loader asks the page fields and then the repeated items' records. The
// buffers are reused name after name.
struct SNameKeys {
    std::wstring upper;
    std::wstring key;
    // Views of the name last given to Of.
    std::vector<std::wstring_view> digitRuns;
    std::size_t upperHash = 0;
    std::size_t keyHash = 0;

    const SNameKeys& Of(std::wstring_view name);
    orvik::SHashedName Upper() const { return {upper, upperHash}; }
    orvik::SHashedName Key() const { return {key, keyHash}; }
};
