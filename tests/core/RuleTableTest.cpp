#include "catalog/RuleTable.h"
#include "LogCapture.h"
#include "core/TestRules.h"

#include "model/FieldKinds.h"
#include "model/FieldList.h"
#include "model/NamePattern.h"
#include "model/Predicates.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <set>

using namespace testrules;

namespace {

bool RegexMatches(const std::wstring& pattern, const std::wstring& name) {
    return std::regex_match(
        name, std::wregex(pattern, std::regex_constants::ECMAScript | std::regex_constants::icase));
}

// The plain walk that the indexes stand in for: in a field list every exact pattern comes before any
// match; in a rule group the first record that equals or matches wins. -1 when nothing qualifies.
int FirstByWalk(const std::vector<std::wstring>& patterns, const std::wstring& name, bool exactPassFirst) {
    for (std::size_t i = 0; exactPassFirst && i < patterns.size(); ++i) {
        if (patterns[i] == name) {
            return static_cast<int>(i);
        }
    }
    for (std::size_t i = 0; i < patterns.size(); ++i) {
        if ((!exactPassFirst && patterns[i] == name) || RegexMatches(patterns[i], name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// Patterns that exercise both indexes: literals differing only in case, duplicates, an unanchored
// literal that an earlier pattern also matches, and a pattern that needs the regular-expression engine.
const std::vector<std::wstring> kLookupPatterns = {L"^Test_Series5$",
                                                   L"^Test_Series([0-9]+)$",
                                                   L"Test_Series7",
                                                   L"^TEST_CASE$",
                                                   L"^Test_Case$",
                                                   L"^Test_Code[A-F]$",
                                                   L"^Test_Pair([0-9]+)_([0-9]+)$",
                                                   L"^Test_Series([0-9]+)$",
                                                   L"^Test_Case$"};

std::vector<std::wstring> LookupNames() {
    std::vector<std::wstring> names = {L"Test_Series5",
                                       L"test_series5",
                                       L"Test_Series7",
                                       L"Test_Series70",
                                       L"^Test_Series([0-9]+)$",
                                       L"Test_Case",
                                       L"TEST_CASE",
                                       L"^TEST_CASE$",
                                       L"^Test_Case$",
                                       L"Test_CodeC",
                                       L"test_codea",
                                       L"Test_CodeZ",
                                       L"Test_Pair1_2",
                                       L"Test_Pair1_",
                                       L"Test_Filler3",
                                       L"TEST_FILLER23",
                                       L"Test_Filler24",
                                       L"Test_Filler",
                                       L""};
    names.push_back(L"Test_Series" + std::wstring(2000, L'1'));
    return names;
}

std::vector<std::wstring> FillersAround(const std::vector<std::wstring>& middle) {
    std::vector<std::wstring> patterns;
    for (int i = 0; i < 24; ++i) {
        if (i == 12) {
            patterns.insert(patterns.end(), middle.begin(), middle.end());
        }
        patterns.push_back(L"^Test_Filler" + std::to_wstring(i) + L"$");
    }
    return patterns;
}

// ---- Rule table ----

class RuleTable : public ::testing::Test {
protected:
    void SetUp() override { RegisterPlainRules(); }
};

TEST_F(RuleTable, TestRecordsStayOutOfTheProgramsTable) {
    std::vector<std::size_t> program;
    for (const CRuleGroup& group : ProgramRules()->Groups()) {
        program.push_back(group.Records().size());
    }
    std::vector<std::size_t> rebuilt;
    const CRuleTable again = CRuleTable::WithProgramRules();
    for (const CRuleGroup& group : again.Groups()) {
        rebuilt.push_back(group.Records().size());
    }
    EXPECT_EQ(program, rebuilt);
    EXPECT_EQ(ProgramRules()->Lookup(EGroupType::Page, kChoice), nullptr);
    EXPECT_NE(Table().Lookup(EGroupType::Page, kChoice), nullptr);
}

TEST_F(RuleTable, FindsARecordByItsExactPattern) {
    const CRuleRecord* record = Table().Lookup(EGroupType::Page, kChoice);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->namePattern, kChoice);
    EXPECT_EQ(Table().Lookup(EGroupType::SourcePdo, kChoice), nullptr) << "records belong to one group";
}

TEST_F(RuleTable, FindsARecordByAPrintableName) {
    const CRuleRecord* record = Table().Lookup(EGroupType::SourcePdo, kVolt);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(Table().Lookup(EGroupType::SourcePdo, L"Test_Volt2"), record);
    EXPECT_EQ(Table().Lookup(EGroupType::SourcePdo, L"test_volt2"), record);
    EXPECT_EQ(Table().Lookup(EGroupType::SourcePdo, L"TEST_VOLT12345"), record);
    EXPECT_EQ(Table().Lookup(EGroupType::SourcePdo, L"Test_VoltX"), nullptr);
    EXPECT_EQ(Table().Lookup(EGroupType::SourcePdo, L"Test_Volt"), nullptr);
    EXPECT_EQ(Table().Lookup(EGroupType::SourcePdo, L"Test_Volt2 "), nullptr);
    EXPECT_EQ(Table().Lookup(EGroupType::SourcePdo, L"xTest_Volt2"), nullptr);
    EXPECT_EQ(Table().Lookup(EGroupType::SourcePdo, L"Test_Volt" + std::wstring(100000, L'7')), record);
    EXPECT_EQ(Table().Lookup(EGroupType::SourcePdo, L"Test_Volt" + std::wstring(100000, L'7') + L"x"),
              nullptr);
}

TEST_F(RuleTable, UnknownGroupHasNoRecords) {
    EXPECT_EQ(Table().Lookup(static_cast<EGroupType>(8), kChoice), nullptr);
    EXPECT_EQ(Table().Lookup(EGroupType::None, kChoice), nullptr);
    EXPECT_EQ(Table().FindGroup(static_cast<EGroupType>(8)), nullptr);
}

TEST_F(RuleTable, MissingPredicatesTakeTheDefaults) {
    const CRuleRecord* record = Table().Lookup(EGroupType::Page, kDigits);
    ASSERT_NE(record, nullptr);
    EXPECT_FALSE(record->onAvailable);
    EXPECT_FALSE(record->refresh);
    CDigitStringEditField hex(nullptr, nullptr, Rec(kDigits), 2, 16);
    EXPECT_TRUE(record->availability(&hex));
    EXPECT_FALSE(record->validity(&hex));
    hex.SetValue(L"1F");
    EXPECT_TRUE(record->validity(&hex));
    EXPECT_FALSE(record->validity(nullptr));
}

// A record's parents are what its conditions and actions read: each name once, in the order of
// availability, validity, on-available and refresh, through and/or combinations too.
TEST_F(RuleTable, ARecordReadsWhatItsConditionsAndActionsRead) {
    const FieldAction touchesC({L"^Test_C$", kText}, [](CParameterField*) {});
    const FieldAction touchesD({L"^Test_D$"}, [](CParameterField*) {});
    const CRuleRecord& record = Register(
        EGroupType::Page,
        CRuleRecord{L"^Test_Reader$", CBooleanOrFunctor(IsParentYNYes(L"^Test_B$"), IsParentYNNo(kText)),
                    IsParentValidValue(L"^Test_B$"), touchesC, touchesD});
    EXPECT_EQ(record.reads, (std::vector<std::wstring>{L"^Test_B$", kText, L"^Test_C$", L"^Test_D$"}));
    EXPECT_TRUE(Rec(kText).reads.empty());
}

TEST_F(RuleTable, PatternThatDoesNotCompileIsLoggedAndSkipped) {
    Register(EGroupType::CableMode, L"^Test_Broken[$");
    const CRuleRecord& after = Register(EGroupType::CableMode, L"^Test_AfterBroken$");

    CScopedLogCapture log;
    EXPECT_EQ(Table().Lookup(EGroupType::CableMode, L"Test_AfterBroken"), &after);
    ASSERT_EQ(log.Lines().size(), 1u);
    EXPECT_EQ(log.Lines()[0].rfind("regex_error: ", 0), 0u) << log.Lines()[0];
    EXPECT_EQ(log.Lines()[0].substr(log.Lines()[0].size() - 2), ".\n");
    // The record itself is still found by its exact pattern.
    EXPECT_NE(Table().Lookup(EGroupType::CableMode, L"^Test_Broken[$"), nullptr);
}

// The loader asks the whole table which repeated item a name belongs to: the first item's group, in
// table order, whose own lookup finds it, through literal names, keys and patterns alike; records
// added to any group after a lookup are seen. The page fields' group is never the answer.
// Every rule of the program says what it is: an explanation of a question is made of these words,
// so a condition, check or action without them would leave a question unexplained. Every question
// a rule's words name is one the program asks.
TEST(ProgramRules, EveryRuleHasWordsThatNameRealQuestions) {
    const std::wregex named(L"`([^`]+)`");
    std::set<std::wstring> questions;
    for (const CRuleGroup& group : ProgramRules()->Groups()) {
        for (const CRuleRecord& record : group.Records()) {
            questions.insert(QuestionWords(record.namePattern));
        }
    }
    for (const CRuleGroup& group : ProgramRules()->Groups()) {
        for (const CRuleRecord& record : group.Records()) {
            const std::string where(record.namePattern.begin(), record.namePattern.end());
            std::vector<std::wstring> words = {record.availability.Words(), record.validity.Words()};
            for (const FieldAction* action : {&record.onAvailable, &record.refresh}) {
                if (*action) {
                    words.push_back(action->Words());
                }
            }
            for (const std::wstring& text : words) {
                EXPECT_FALSE(text.empty()) << where;
                for (auto it = std::wsregex_iterator(text.begin(), text.end(), named);
                     it != std::wsregex_iterator(); ++it) {
                    const std::wstring question = L"`" + (*it)[1].str() + L"`";
                    EXPECT_TRUE(questions.count(question))
                        << where << " names " << std::string(question.begin(), question.end());
                }
            }
        }
    }
}

TEST_F(RuleTable, FirstItemMatchAnswersAsEachGroupInTurn) {
    const CRuleRecord& sink = Register(EGroupType::SinkPdo, L"^Test_Shared([0-9]+)$");
    const CRuleRecord& mode = Register(EGroupType::SopMode, L"^Test_SharedLiteral$");
    Register(EGroupType::CableSvid, L"^Test_Shared([0-9]+)$");
    Register(EGroupType::CableMode, L"^Test_SharedLiteral$");
    const std::vector<std::wstring> names = {L"Test_Shared4",     L"test_shared12", L"TEST_SHAREDLITERAL",
                                             L"Test_Volt3",       L"Test_Plain",    L"Test_Volt",
                                             L"Test_AfterBroken", L"Test_Nowhere9", L"Test_Text"};
    for (const std::wstring& name : names) {
        const CRuleGroup* expectedGroup = nullptr;
        const CRuleRecord* expected = nullptr;
        for (const CRuleGroup& g : Table().Groups()) {
            if (IsRepeatedGroupType(g.type) && (expected = g.FirstMatch(name, false)) != nullptr) {
                expectedGroup = &g;
                break;
            }
        }
        const CRuleGroup* group = nullptr;
        EXPECT_EQ(Table().FirstItemMatch(name, group), expected) << std::string(name.begin(), name.end());
        EXPECT_EQ(group, expectedGroup);
    }
    const CRuleGroup* group = nullptr;
    EXPECT_EQ(Table().FirstItemMatch(L"Test_Shared4", group), &sink);
    EXPECT_EQ(group->type, EGroupType::SinkPdo);
    EXPECT_EQ(Table().FirstItemMatch(L"Test_SharedLiteral", group), &mode);
    EXPECT_EQ(group->type, EGroupType::SopMode);

    EXPECT_EQ(Table().FirstItemMatch(L"Test_Later7", group), nullptr);
    EXPECT_EQ(group, nullptr);
    const CRuleRecord& later = Register(EGroupType::CableSvid, L"^Test_Later([0-9]+)$");
    EXPECT_EQ(Table().FirstItemMatch(L"Test_Later7", group), &later);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->type, EGroupType::CableSvid);
    const CRuleRecord& earlier = Register(EGroupType::SourcePdo, L"^Test_Later([0-9]+)$");
    EXPECT_EQ(Table().FirstItemMatch(L"Test_Later7", group), &earlier);
    EXPECT_EQ(group->type, EGroupType::SourcePdo);
}

// A group's records are looked up through an index; it must answer as the walk through them does.
TEST(RuleGroupLookup, IndexAnswersAsTheWalkDoes) {
    const std::vector<std::wstring> patterns = FillersAround(kLookupPatterns);
    CRuleGroup group; // on its own, not in the table
    for (const std::wstring& pattern : patterns) {
        group.Add(Rule(pattern));
    }
    for (const std::wstring& name : LookupNames()) {
        const CRuleRecord* found = group.FirstMatch(name, true);
        const int expected = FirstByWalk(patterns, name, false);
        EXPECT_EQ(found, expected < 0 ? nullptr : &group.Records()[static_cast<std::size_t>(expected)])
            << std::string(name.begin(), name.begin() + std::min<std::size_t>(name.size(), 40));
    }
    // Records added after a lookup are seen.
    EXPECT_EQ(group.FirstMatch(L"Test_Late9", true), nullptr);
    const CRuleRecord& late = group.Add(Rule(L"^Test_Late([0-9]+)$"));
    EXPECT_EQ(group.FirstMatch(L"Test_Late9", true), &late);
}

// ---- Name patterns ----

TEST(NamePattern, PrintablePiecesDropAnchorsAndInstanceMarks) {
    EXPECT_EQ(CNamePattern(L"^SVID([0-9]+)_mode([0-9]+)_enter_SOP$").Pieces(),
              (std::vector<std::wstring>{L"SVID", L"_mode", L"_enter_SOP"}));
    EXPECT_EQ(CNamePattern(L"^\\$Vendor_Name$").Pieces(), (std::vector<std::wstring>{L"$Vendor_Name"}));
    EXPECT_EQ(CNamePattern(L"^([0-9]+)Lead$").Pieces(), (std::vector<std::wstring>{L"Lead"}));
    EXPECT_EQ(CNamePattern(L"^\\$$").Pieces(), (std::vector<std::wstring>{L"$"}));
    EXPECT_TRUE(CNamePattern(L"^\\$").Pieces().empty());
    EXPECT_EQ(CNamePattern(L"^\\$Vendor_Name$").LiteralText(), L"$Vendor_Name");
    EXPECT_FALSE(CNamePattern(L"^Code[A-F]$").IsLiteral());
}

// The hand-written matcher must agree with the regular expression it stands in for.
TEST(NamePattern, AgreesWithTheRegularExpression) {
    const std::vector<std::wstring> patterns = {
        L"^Test_Volt([0-9]+)$",
        L"^\\$Test_Quoted$",
        L"^Test_([0-9]+)0$",
        L"^Test_([0-9]+)([0-9]+)$",
        L"^Test_([0-9]+)_([0-9]+)1x$",
        L"^Test_A([0-9]+)",
        L"Test_Plain",
        L"^Test_Code[A-F]$",
        L"^Test_\\d+_end$",
        L"^Test_a\\.b$",
        L"^Test_(x|y)([0-9]+)$",
    };
    const std::vector<std::wstring> names = {
        L"Test_Volt1",   L"test_VOLT0042", L"Test_Volt",  L"Test_Volt1a", L"$Test_Quoted", L"$test_quoted",
        L"Test_Quoted",  L"Test_120",      L"Test_0",     L"Test_10",     L"Test_123",     L"Test_1",
        L"Test_12_341x", L"Test_1_1x",     L"Test_1_x",   L"Test_A7",     L"Test_plain",   L"Test_Plainer",
        L"Test_CodeB",   L"test_codef",    L"Test_CodeG", L"Test_42_END", L"Test_a.b",     L"Test_axb",
        L"Test_y12",     L"Test_z12",      L"",
    };
    for (const std::wstring& pattern : patterns) {
        const std::wregex re(pattern, std::regex_constants::ECMAScript | std::regex_constants::icase);
        for (const std::wstring& name : names) {
            std::wsmatch m;
            const bool expected = std::regex_match(name, m, re);
            std::vector<std::wstring> captures;
            EXPECT_EQ(CNamePattern(pattern).Match(name, &captures), expected)
                << "pattern " << std::string(pattern.begin(), pattern.end()) << ", name "
                << std::string(name.begin(), name.end());
            if (expected) {
                std::vector<std::wstring> groups;
                for (std::size_t g = 1; g < m.size(); ++g) {
                    groups.push_back(m[g].str());
                }
                EXPECT_EQ(captures, groups) << std::string(pattern.begin(), pattern.end());
            }
        }
    }
}

// Lookups compare keys instead of matching pattern by pattern: equal keys must mean a match.
TEST(NamePattern, KeysAreEqualExactlyWhenTheNameMatches) {
    const std::vector<std::wstring> keyed = {
        L"^Test_Volt([0-9]+)$", L"^SVID([0-9]+)_mode([0-9]+)_enter_SOP$",
        L"^([0-9]+)Lead$",      L"^Test_A([0-9]+)",
        L"^Test_\\.x([0-9]+)$",
    };
    const std::vector<std::wstring> names = {
        L"Test_Volt1",
        L"test_VOLT0042",
        L"Test_Volt",
        L"Test_Volt1a",
        L"Test_Volt12x3",
        L"SVID3_mode12_enter_SOP",
        L"svid03_MODE1_enter_sop",
        L"SVID_mode1_enter_SOP",
        L"SVID3_mode1_enter_SOP4",
        L"7Lead",
        L"Lead",
        L"12lead",
        L"Test_A7",
        L"Test_A",
        L"Test_.x9",
        L"Test_ax9",
        L"",
        L"Test_Volt\u00e91",
    };
    std::wstring upper;
    std::wstring key;
    for (const std::wstring& pattern : keyed) {
        const CNamePattern parsed(pattern);
        ASSERT_FALSE(parsed.Key().empty()) << std::string(pattern.begin(), pattern.end());
        for (const std::wstring& name : names) {
            std::vector<std::wstring_view> runs;
            CNamePattern::KeysOf(name, upper, key, &runs);
            std::vector<std::wstring> captures;
            const bool matched = parsed.Match(name, &captures);
            EXPECT_EQ(key == parsed.Key(), matched)
                << "pattern " << std::string(pattern.begin(), pattern.end()) << ", name "
                << std::string(name.begin(), name.end());
            // The loader takes the runs of digits for the captures when the keys agree.
            if (matched) {
                EXPECT_EQ(std::vector<std::wstring>(runs.begin(), runs.end()), captures);
            }
        }
    }
    CNamePattern::KeysOf(L"svid12_Mode3", upper, key);
    EXPECT_EQ(upper, L"SVID12_MODE3");
    // Digits in the literal text, touching groups, literal patterns and other regular expressions
    // are matched one by one.
    for (const wchar_t* pattern : {L"^Test_([0-9]+)0$", L"^Test_([0-9]+)([0-9]+)$", L"^USB4_([0-9]+)$",
                                   L"^Test_Plain$", L"^Test_\\d+$"}) {
        EXPECT_TRUE(CNamePattern(pattern).Key().empty()) << std::wstring(pattern).size();
    }
}

TEST(NamePattern, MatchesVeryLongNamesWithoutDeepRecursion) {
    const std::wstring digits(100000, L'5');
    EXPECT_TRUE(CNamePattern(L"^Test_Volt([0-9]+)$").Match(L"Test_Volt" + digits));
    EXPECT_TRUE(CNamePattern(L"^Test_([0-9]+)0$").Match(L"Test_" + digits + L"0"));
    EXPECT_FALSE(CNamePattern(L"^Test_([0-9]+)0$").Match(L"Test_" + digits));
    EXPECT_TRUE(CNamePattern(L"^Test_([0-9]+)_([0-9]+)$").Match(L"Test_" + digits + L"_" + digits));
    EXPECT_FALSE(CNamePattern(L"^Test_Plain$").Match(std::wstring(100000, L'x')));
}

// ---- Field lists ----

class FieldListLookup : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterPlainRules();
        for (const std::wstring& pattern : FillersAround(kLookupPatterns)) {
            Register(EGroupType::Page, pattern);
        }
    }

    // Owned by the test; lists below only point at them.
    CParameterField* Make(const std::wstring& pattern) {
        fields_.push_back(std::make_unique<CEditField>(nullptr, nullptr, Rec(pattern)));
        return fields_.back().get();
    }

    std::vector<std::unique_ptr<CParameterField>> fields_;
};

TEST_F(FieldListLookup, ExactPatternFirstThenPattern) {
    CFieldList list;
    CParameterField* series = Make(L"^Test_Series([0-9]+)$");
    CParameterField* seven = Make(L"Test_Series7");
    list.Append(series);
    list.Append(seven);

    EXPECT_EQ(list.FindField(L"Test_Series7"), seven) << "an exact pattern beats an earlier match";
    EXPECT_EQ(list.FindField(L"Test_Series12"), series);
    EXPECT_EQ(list.FindField(L"test_series12"), series);
    EXPECT_EQ(list.FindField(L"^Test_Series([0-9]+)$"), series);
    EXPECT_EQ(list.FindField(L"Test_SeriesX"), nullptr);
    EXPECT_EQ(&list.GetField(L"Test_Series3"), series);
    try {
        list.GetField(L"Test_Nothing");
        FAIL() << "found a field that is not there";
    } catch (const fieldlist_error&) {
        FAIL() << "a lookup miss is not a fault of a rule";
    } catch (const filegen_error& e) {
        EXPECT_EQ(e.Message(), L"Couldn't find field Test_Nothing in field list.");
    }
}

TEST_F(FieldListLookup, ScopeChainAndParentResolutionSearchOutwards) {
    CFieldList page;
    CFieldList group;
    group.SetEnclosingList(&page);
    CParameterField* outerText = Make(kText);
    CParameterField* outerNumber = Make(kNumber);
    CParameterField* innerNumber = Make(kNumber);
    CParameterField* elsewhere = Make(kDigits);
    page.Append(outerText);
    page.Append(outerNumber);
    group.Append(innerNumber);

    CParameterField* child = Make(kChoice);
    child->AddParent(outerText);
    child->AddParent(outerNumber);
    child->AddParent(elsewhere);
    child->ResolveParents(group);
    EXPECT_EQ(child->Parents(), (std::vector<CParameterField*>{outerText, innerNumber, nullptr}));
    EXPECT_EQ(child->FindParent(kDigits), nullptr);

    EXPECT_EQ(group.FindFieldInScope(kText), outerText);
    EXPECT_EQ(group.FindField(kText), nullptr);
    EXPECT_EQ(page.FindFieldInScope(kDigits), nullptr);
}

// Lists of 24 fields and more are searched through an index; it must answer as the plain walk does.
TEST_F(FieldListLookup, LargeListsAnswerAsSmallOnes) {
    std::vector<CParameterField*> all;
    for (const std::wstring& pattern : FillersAround(kLookupPatterns)) {
        all.push_back(Make(pattern));
    }
    for (std::size_t size : {all.size(), std::size_t{23}, std::size_t{24}, std::size_t{14}}) {
        for (std::size_t first : {std::size_t{0}, all.size() - size}) {
            CFieldList list;
            std::vector<std::wstring> patterns;
            for (std::size_t i = first; i < first + size; ++i) {
                list.Append(all[i]);
                patterns.push_back(all[i]->NamePattern());
            }
            for (const std::wstring& name : LookupNames()) {
                const int expected = FirstByWalk(patterns, name, true);
                EXPECT_EQ(list.FindField(name),
                          expected < 0 ? nullptr : list.At(static_cast<std::size_t>(expected)))
                    << "list of " << size << " from " << first << ", name "
                    << std::string(name.begin(), name.begin() + std::min<std::size_t>(name.size(), 40));
            }
        }
    }
}

TEST_F(FieldListLookup, LargeListSeesFieldsAppendedAfterALookup) {
    CFieldList list;
    for (int i = 0; i < 24; ++i) {
        list.Append(Make(L"^Test_Filler" + std::to_wstring(i) + L"$"));
    }
    EXPECT_EQ(list.FindField(L"Test_Series9"), nullptr);
    CParameterField* series = Make(L"^Test_Series([0-9]+)$");
    list.Append(series);
    EXPECT_EQ(list.FindField(L"Test_Series9"), series);
}

} // namespace
