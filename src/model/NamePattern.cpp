#include "model/NamePattern.h"

#include "text/Text.h"

namespace {

constexpr std::wstring_view kDigitGroup = L"([0-9]+)";

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

bool IsRegexSpecial(wchar_t c) {
    switch (c) {
    case L'.':
    case L'*':
    case L'+':
    case L'?':
    case L'(':
    case L')':
    case L'[':
    case L']':
    case L'{':
    case L'}':
    case L'|':
    case L'^':
    case L'$':
    case L'\\':
        return true;
    default:
        return false;
    }
}

bool IsDigitGroupAt(std::wstring_view p, std::size_t i) {
    return p[i] == L'(' && p.substr(i, kDigitGroup.size()) == kDigitGroup;
}

} // namespace

CNamePattern::CNamePattern(std::wstring pattern) : pattern_(std::move(pattern)) {
    ParseTokens();
    SplitPieces();
    if (IsLiteral() && !tokens_.empty()) {
        upperLiteral_ = orvik::ToUpper(texts_[0]);
    }
    if (!simple_) {
        try {
            regex_.emplace(pattern_, std::regex_constants::ECMAScript | std::regex_constants::icase);
        } catch (const std::regex_error& e) {
            regexError_ = e;
        }
    }
}

void CNamePattern::ParseTokens() {
    std::wstring_view p = pattern_;
    if (!p.empty() && p.front() == L'^') {
        p.remove_prefix(1);
    }
    // A trailing '$' is an anchor unless it is escaped.
    if (!p.empty() && p.back() == L'$') {
        std::size_t slashes = 0;
        for (std::size_t i = p.size() - 1; i > 0 && p[i - 1] == L'\\'; --i) {
            ++slashes;
        }
        if (slashes % 2 == 0) {
            p.remove_suffix(1);
        }
    }
    std::vector<Token> tokens;
    std::vector<std::wstring> texts;
    // A name, or a name with an instance number or two.
    tokens.reserve(4);
    // Every pattern of the program is parsed once at start-up: a literal run is given its room at
    // once instead of growing character by character.
    auto literal = [&tokens, &texts, &p](wchar_t c, std::size_t at) {
        if (tokens.empty() || tokens.back().digits) {
            tokens.push_back(Token{false, texts.size()});
            texts.emplace_back().reserve(p.size() - at);
        }
        texts.back().push_back(c);
    };
    for (std::size_t i = 0; i < p.size();) {
        if (IsDigitGroupAt(p, i)) {
            tokens.push_back(Token{true, 0});
            ++digitGroups_;
            i += kDigitGroup.size();
        } else if (p[i] == L'\\') {
            if (i + 1 >= p.size() || !IsRegexSpecial(p[i + 1])) {
                return; // \d, \w and the like: leave it to the regular-expression engine
            }
            literal(p[i + 1], i);
            i += 2;
        } else if (IsRegexSpecial(p[i])) {
            return;
        } else {
            // A run of plain characters at once.
            std::size_t end = i + 1;
            while (end < p.size() && !IsRegexSpecial(p[end])) {
                ++end;
            }
            literal(p[i], i);
            texts.back().append(p.substr(i + 1, end - i - 1));
            i = end;
        }
    }
    tokens_ = std::move(tokens);
    texts_ = std::move(texts);
    simple_ = true;
    for (const Token& t : tokens_) {
        minLength_ += t.digits ? 1 : texts_[t.text].size();
    }
    if (digitGroups_ == 0) {
        return;
    }
    std::wstring key;
    key.reserve(minLength_);
    bool lastWasDigits = false;
    for (const Token& t : tokens_) {
        if (t.digits) {
            if (lastWasDigits) {
                return;
            }
            key.push_back(L'0');
        } else {
            for (wchar_t c : texts_[t.text]) {
                if (IsDigit(c)) {
                    return;
                }
                key.push_back(c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c);
            }
        }
        lastWasDigits = t.digits;
    }
    key_ = std::move(key);
}

void CNamePattern::KeysOf(std::wstring_view name, std::wstring& upper, std::wstring& key,
                          std::vector<std::wstring_view>* runs) {
    // The buffers are reused name after name: grown when short, never filled only to be written.
    if (upper.size() < name.size()) {
        upper.resize(name.size());
    }
    if (key.size() < name.size()) {
        key.resize(name.size());
    }
    wchar_t* u = upper.data();
    wchar_t* k = key.data();
    wchar_t* const keyStart = k;
    bool inDigits = false;
    std::size_t runStart = 0;
    if (runs) {
        runs->clear();
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        wchar_t c = name[i];
        if (static_cast<unsigned>(c - L'a') < 26u) {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
        *u++ = c;
        const bool digit = IsDigit(c);
        if (digit != inDigits) {
            if (digit) {
                runStart = i;
            } else if (runs) {
                runs->push_back(name.substr(runStart, i - runStart));
            }
        }
        if (!digit || !inDigits) {
            *k++ = digit ? L'0' : c;
        }
        inDigits = digit;
    }
    if (inDigits && runs) {
        runs->push_back(name.substr(runStart));
    }
    upper.resize(name.size());
    key.resize(static_cast<std::size_t>(k - keyStart));
}

const SNameKeys& SNameKeys::Of(std::wstring_view name) {
    CNamePattern::KeysOf(name, upper, key, &digitRuns);
    upperHash = orvik::SNameHash{}(upper);
    keyHash = orvik::SNameHash{}(key);
    return *this;
}

void CNamePattern::SplitPieces() {
    const std::wstring& text = pattern_;
    // ^\$ alone is the anchors around nothing to the splitting below, a dollar to the tokens.
    const std::size_t afterAnchor = text.starts_with(L"^\\$") && text.size() > 3 ? 2 : 0;
    const bool onlyAnchorEscaped = text.find(L'\\', afterAnchor) == std::wstring::npos;
    const bool emptyAnchored = text.size() >= 2 && text[0] == L'^' && text[1] == L'$';
    if (simple_ && onlyAnchorEscaped && !emptyAnchored) {
        // Nothing escaped but a leading $: the pieces are the literal runs as parsed.
        piecesAreTexts_ = true;
        return;
    }
    // Separators: a leading "^\" before '$', a leading '^' not before '$', a trailing '$' and every
    // ([0-9]+); a run of separators counts as one. Empty pieces are dropped.
    const std::wstring& p = pattern_;
    std::wstring piece;
    piece.reserve(p.size());
    std::size_t i = 0;
    auto flush = [&]() {
        if (!piece.empty()) {
            pieces_.push_back(piece);
            piece.clear();
        }
    };
    while (i < p.size()) {
        std::size_t consumed = 0;
        if (i == 0 && p[0] == L'^') {
            if (p.size() > 2 && p[1] == L'\\' && p[2] == L'$') {
                consumed = 2;
            } else if (p.size() == 1 || p[1] != L'$') {
                consumed = 1;
            }
        }
        if (consumed == 0 && IsDigitGroupAt(p, i)) {
            consumed = kDigitGroup.size();
        }
        if (consumed == 0 && i + 1 == p.size() && p[i] == L'$') {
            consumed = 1;
        }
        if (consumed > 0) {
            flush();
            i += consumed;
        } else {
            // Up to the next character that may start a separator.
            std::size_t end = i + 1;
            while (end < p.size() && p[end] != L'(' && p[end] != L'$') {
                ++end;
            }
            piece.append(p, i, end - i);
            i = end;
        }
    }
    flush();
}

bool CNamePattern::MatchFrom(std::size_t token, std::wstring_view name, std::size_t pos,
                             std::vector<std::wstring>* captures) const {
    if (token == tokens_.size()) {
        return pos == name.size();
    }
    const Token& t = tokens_[token];
    if (!t.digits) {
        const std::wstring& text = texts_[t.text];
        if (name.size() - pos < text.size()) {
            return false;
        }
        for (std::size_t k = 0; k < text.size(); ++k) {
            if (orvik::ToLowerAscii(text[k]) != orvik::ToLowerAscii(name[pos + k])) {
                return false;
            }
        }
        return MatchFrom(token + 1, name, pos + text.size(), captures);
    }
    std::size_t end = pos;
    while (end < name.size() && IsDigit(name[end])) {
        ++end;
    }
    if (end == pos) {
        return false;
    }
    // Greedy, as the regular expression is. Only a following digit group or a following literal that
    // starts with a digit can make a shorter run match; otherwise the longest run is the only candidate.
    const bool mayBacktrack = token + 1 < tokens_.size() &&
                              (tokens_[token + 1].digits || IsDigit(texts_[tokens_[token + 1].text][0]));
    for (std::size_t stop = end; stop > pos; --stop) {
        if (captures) {
            captures->emplace_back(name.substr(pos, stop - pos));
        }
        if (MatchFrom(token + 1, name, stop, captures)) {
            return true;
        }
        if (captures) {
            captures->pop_back();
        }
        if (!mayBacktrack) {
            break;
        }
    }
    return false;
}

bool CNamePattern::Match(std::wstring_view name, std::vector<std::wstring>* captures) const {
    if (captures) {
        captures->clear();
    }
    if (simple_) {
        if (name.size() < minLength_ || (digitGroups_ == 0 && name.size() != minLength_)) {
            return false;
        }
        return MatchFrom(0, name, 0, captures);
    }
    if (!regex_) {
        throw *regexError_;
    }
    const std::wregex& re = *regex_;
    std::wstring text(name);
    std::wsmatch m;
    if (!std::regex_match(text, m, re)) {
        return false;
    }
    if (captures) {
        for (std::size_t g = 1; g < m.size(); ++g) {
            captures->push_back(m[g].str());
        }
    }
    return true;
}

std::wstring CNamePattern::LiteralText() const {
    if (!IsLiteral()) {
        return std::wstring();
    }
    return texts_.empty() ? std::wstring() : texts_[0];
}
