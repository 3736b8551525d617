#include "LogCapture.h"
#include "core/TestRules.h"

#include "model/FieldList.h"
#include "model/FieldValues.h"
#include "model/Predicates.h"

#include <gtest/gtest.h>

#include <functional>

using namespace testrules;

namespace {

constexpr const wchar_t* kMissing = L"^Test_Missing$";
constexpr const wchar_t* kGated = L"^Test_Gated$";
constexpr const wchar_t* kOrphan = L"^Test_Orphan$";
constexpr const wchar_t* kForced = L"^Test_Forced$";

// A field asked only when ^Test_YesNo$ is YES, one whose rules name a parent it never gets, and one
// that forces its value when it becomes available.
bool RegisterPredicateRules() {
    static const bool done = [] {
        RegisterPlainRules();
        Register(EGroupType::Page, Rule(kGated, IsParentYNYes(kYesNo)));
        Register(EGroupType::Page, Rule(kOrphan, IsParentYNValid(kMissing), IsParentYNValid(kMissing)));
        Register(EGroupType::Page, Rule(kForced, {}, {}, [](CParameterField* f) { f->Force(L"forced"); }));
        return true;
    }();
    return done;
}

// A child field with three parents: a YES/NO answer, a choice of connector, and free text.
class Predicates : public ::testing::Test {
protected:
    void SetUp() override {
        connector.SetOptions({{0, L"Type-A"}, {1, L"Type-B"}, {2, L"Type-C"}});
        child.AddParent(&yesNo);
        child.AddParent(&connector);
        child.AddParent(&text);
    }

    const bool registered_ = RegisterPredicateRules(); // before the fields, which need their records
    CYesNoPulldownListField yesNo{nullptr, nullptr, Rec(kYesNo)};
    CPulldownListField connector{nullptr, nullptr, Rec(kChoice)};
    CEditField text{nullptr, nullptr, Rec(kText)};
    CEditField child{nullptr, nullptr, Rec(kQuoted)};
};

// ---- Truth tables ----

TEST_F(Predicates, YesNoPredicatesOverEveryParentValue) {
    struct Row {
        const wchar_t* value;
        bool yes, no, valid;
    };
    for (const Row& row :
         {Row{L"YES", true, false, true}, Row{L"NO", false, true, true}, Row{L"", false, false, false}}) {
        yesNo.SetValue(row.value);
        EXPECT_EQ(IsParentYNYes(kYesNo)(&child), row.yes) << row.value;
        EXPECT_EQ(IsParentYNNo(kYesNo)(&child), row.no) << row.value;
        EXPECT_EQ(IsParentYNValid(kYesNo)(&child), row.valid) << row.value;
    }
}

TEST_F(Predicates, ValuePredicatesOverEveryParentValue) {
    const IsParentValue<EConnectorType> isAOrC(kChoice, {CT_TYPE_A, CT_TYPE_C});
    const IsValidButNotParentValue<EConnectorType> validButNotC(kChoice, CT_TYPE_C);
    const IsNotParentValue<EConnectorType> notC(kChoice, CT_TYPE_C);
    const IsParentValue<EConnectorType> none(kChoice, std::vector<EConnectorType>{});
    struct Row {
        const wchar_t* value;
        bool isAOrC, validButNotC, notC;
    };
    // 7 names no option: the predicates compare ids and do not ask whether the parent is valid.
    for (const Row& row :
         {Row{L"0", true, true, true}, Row{L"1", false, true, true}, Row{L"2", true, false, false},
          Row{L"7", false, true, true}, Row{L"", false, false, true}, Row{L"AB", false, false, true}}) {
        connector.SetValue(row.value);
        EXPECT_EQ(isAOrC(&child), row.isAOrC) << row.value;
        EXPECT_EQ(validButNotC(&child), row.validButNotC) << row.value;
        EXPECT_EQ(notC(&child), row.notC) << row.value;
        EXPECT_FALSE(none(&child)) << "an empty value list matches nothing";
    }
}

TEST_F(Predicates, FreeTextParentHasNoValue) {
    text.SetValue(L"2");
    EXPECT_FALSE((IsValidButNotParentValue<EConnectorType>(kText, CT_TYPE_A)(&child)));
    EXPECT_FALSE((IsParentValue<EConnectorType>(kText, CT_TYPE_C)(&child)));
    EXPECT_TRUE((IsNotParentValue<EConnectorType>(kText, CT_TYPE_A)(&child)));
    EXPECT_TRUE(IsParentValidValue(kText)(&child)) << "validity is asked of any kind of parent";
}

TEST_F(Predicates, MissingParentReadsAsNoValue) {
    yesNo.SetValue(L"YES");
    EXPECT_FALSE((IsParentValue<EYesNo>(kMissing, YN_YES)(&child)));
    EXPECT_FALSE((IsValidButNotParentValue<EYesNo>(kMissing, YN_YES)(&child)));
    EXPECT_TRUE((IsNotParentValue<EYesNo>(kMissing, YN_YES)(&child)));
    EXPECT_FALSE(IsParentYNYes(L"^test_yesno$")(&child)) << "parents are found by their exact pattern";
    EXPECT_EQ(IsParentYNYes(kYesNo).GetParentValue(nullptr), -1);

    // The named predicates without their parent.
    EXPECT_TRUE(IsNotParentOrvikProductType()(&child));
    EXPECT_FALSE(IsValidButParentOrvikProductTypeNot()(&child));
    EXPECT_FALSE(IsParentOrvikProductType(OPT_PORT)(&child));
    EXPECT_FALSE(IsValidButParentConnectorTypeNot()(&child));
    EXPECT_FALSE(IsParentConnectorType(CT_TYPE_C)(&child));
    EXPECT_FALSE(IsParentPDPortType({PPT_DRP, PPT_PROVIDER_ONLY})(&child));
}

TEST_F(Predicates, MissingParentOrFieldIsAnErrorWhereValidityIsAsked) {
    EXPECT_EQ(ErrorOf([&] { (void)IsParentYNValid(kMissing)(&child); }),
              L"Field ^\\$Test_Quoted$ does not have parent ^Test_Missing$.");
    EXPECT_EQ(ErrorOf([&] { (void)IsValidParentConnectorType()(&child); }),
              L"Field ^\\$Test_Quoted$ does not have parent ^Connector_Type$.");
    for (const FieldPredicate& p : std::initializer_list<FieldPredicate>{
             IsParentYNYes(kYesNo), IsParentYNValid(kYesNo), IsNotParentOrvikProductType(),
             IsValidButParentConnectorTypeNot()}) {
        EXPECT_EQ(ErrorOf([&] { p(nullptr); }), L"NULL parameter field.");
    }
}

TEST_F(Predicates, AndAndOrStopAtTheFirstDecidingAnswer) {
    int calls = 0;
    const FieldPredicate yes = [&calls](const CParameterField*) { return ++calls, true; };
    const FieldPredicate no = [&calls](const CParameterField*) { return ++calls, false; };
    EXPECT_FALSE(CBooleanAndFunctor(no, yes)(&child));
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(CBooleanAndFunctor(yes, yes)(&child));
    EXPECT_EQ(calls, 3);
    EXPECT_TRUE(CBooleanOrFunctor(yes, no)(&child));
    EXPECT_EQ(calls, 4);
    EXPECT_FALSE(CBooleanOrFunctor(no, no)(&child));
    EXPECT_EQ(calls, 6);

    const FieldPredicate empty;
    EXPECT_FALSE(CBooleanAndFunctor(no, empty)(&child));
    EXPECT_THROW(CBooleanAndFunctor(yes, empty)(&child), std::bad_function_call);
    EXPECT_TRUE(CBooleanOrFunctor(yes, empty)(&child));
    EXPECT_THROW(CBooleanOrFunctor(no, empty)(&child), std::bad_function_call);
}

// A condition's words are built the way the condition is: an explanation cannot drift from its rule.
TEST_F(Predicates, WordsAreComposedAsTheConditionIs) {
    const FieldPredicate pd = IsParentYNYes(L"^USB_PD_Support$");
    const FieldPredicate roles =
        IsParentValue<EPDPortType>(L"^PD_Port_Type$", {PPT_CONSUMER_PROVIDER, PPT_DRP});
    const FieldPredicate answered = IsParentValidValue(L"^\\$Vendor_Name$");
    const FieldPredicate plain = [](const CParameterField*) { return true; };
    EXPECT_EQ(pd.Words(), L"`USB_PD_Support` is YES");
    EXPECT_EQ(FieldPredicate(CBooleanAndFunctor(pd, CBooleanOrFunctor(roles, answered))).Words(),
              L"`USB_PD_Support` is YES and (`PD_Port_Type` is 1 or 4 or `$Vendor_Name` is answered)");
    EXPECT_EQ(
        FieldPredicate(IsValidButNotParentValue<EYesNo>(L"^Src_PDO_Supply_Type([0-9]+)$", YN_NO)).Words(),
        L"`Src_PDO_Supply_Type` is answered and is not NO");
    EXPECT_EQ(FieldPredicate(CBooleanAndFunctor(plain, pd)).Words(), pd.Words()) << "a part without words";
    const FieldPredicate pdAnswered = IsParentYNValid(L"^USB_PD_Support$");
    EXPECT_EQ(FieldPredicate(CBooleanAndFunctor(pdAnswered, pd)).Words(), pd.Words()) << "answered, and YES";
    EXPECT_EQ(FieldPredicate(CBooleanAndFunctor(pd, pdAnswered)).Words(), pd.Words());
    EXPECT_TRUE(plain.Words().empty());
    EXPECT_EQ(FieldPredicate(L"the port is a hub's", {}, plain).Words(), L"the port is a hub's");
}

// ---- Parents ----

TEST_F(Predicates, GetParentAsFindsTheParentOfTheRequestedKind) {
    EXPECT_EQ(GetParentAs<CYesNoPulldownListField>(&child, kYesNo), &yesNo);
    EXPECT_EQ(GetParentAs<CPulldownListField>(&child, kYesNo), &yesNo);
    const CParameterField* constChild = &child;
    EXPECT_EQ(GetParentAs<CPulldownListField>(constChild, kChoice), &connector);

    EXPECT_EQ(ErrorOf([&] { GetParentAs<CNumEditField>(&child, kText); }),
              L"^Test_Text$ is not a parent of field ^\\$Test_Quoted$.");
    EXPECT_EQ(ErrorOf([&] { GetParentAs<CEditField>(constChild, kMissing); }),
              L"^Test_Missing$ is not a parent of field ^\\$Test_Quoted$.");
    EXPECT_EQ(ErrorOf([] { GetParentAs<CEditField>(static_cast<CParameterField*>(nullptr), kText); }),
              L"CParameterField arg is NULL.");
    EXPECT_EQ(ErrorOf([] { GetParentAs<CEditField>(static_cast<const CParameterField*>(nullptr), kText); }),
              L"const CParameterField arg is NULL.");
}

TEST_F(Predicates, ParentLinks) {
    child.AddParent(&yesNo);
    EXPECT_EQ(child.Parents().size(), 3u) << "no duplicates";
    EXPECT_EQ(ErrorOf([&] { child.AddParent(nullptr); }), L"NULL parameter field.");
    EXPECT_EQ(ErrorOf([&] { child.AddParentAndItsParents(nullptr); }), L"NULL parameter field.");

    // One level up only.
    CEditField grandParent(nullptr, nullptr, Rec(kNumber));
    CEditField greatGrandParent(nullptr, nullptr, Rec(kDigits));
    grandParent.AddParent(&greatGrandParent);
    text.AddParent(&grandParent);
    CEditField field(nullptr, nullptr, Rec(kIndexed));
    field.AddParentAndItsParents(&text);
    EXPECT_EQ(field.Parents(), (std::vector<CParameterField*>{&text, &grandParent}));
}

// ---- Availability ----

TEST_F(Predicates, FieldThatBecomesUnavailableLosesItsValue) {
    CEditField gated(nullptr, nullptr, Rec(kGated));
    gated.AddParent(&yesNo);

    yesNo.SetValue(L"YES");
    UpdateAvailability(&gated);
    EXPECT_TRUE(gated.IsAvailable());
    EXPECT_TRUE(gated.IsChanged());
    gated.SetValue(L"answer");
    UpdateAvailability(&gated);
    EXPECT_FALSE(gated.IsChanged());
    EXPECT_EQ(gated.Value(), L"answer");

    yesNo.SetValue(L"NO");
    UpdateAvailability(&gated);
    EXPECT_FALSE(gated.IsAvailable());
    EXPECT_FALSE(gated.IsEnabled());
    EXPECT_TRUE(gated.IsChanged());
    EXPECT_EQ(gated.Value(), L"");
    EXPECT_TRUE(gated.PassesValidity()) << "unavailable fields count as complete";

    yesNo.SetValue(L"YES");
    UpdateAvailability(&gated);
    EXPECT_TRUE(gated.IsAvailable());
    EXPECT_EQ(gated.Value(), L"");
    EXPECT_TRUE(gated.IsEnabled());
    EXPECT_FALSE(gated.PassesValidity());
}

TEST_F(Predicates, YesAndNoAreReadThroughOnePairOfHelpers) {
    struct SCase {
        const wchar_t* value;
        bool yes;
        bool no;
    };
    for (const SCase& c : {SCase{L"YES", true, false}, SCase{L"no", false, true}, SCase{L"1", true, false},
                           SCase{L"0", false, true}, SCase{L"", false, false}, SCase{L"2", false, false}}) {
        yesNo.SetValue(c.value);
        EXPECT_EQ(IsYes(&yesNo), c.yes) << c.value;
        EXPECT_EQ(IsNo(&yesNo), c.no) << c.value;
        EXPECT_EQ(IsYes(yesNo.GetIntValue()), c.yes) << c.value;
        EXPECT_EQ(IsNo(yesNo.GetIntValue()), c.no) << c.value;
    }
    EXPECT_FALSE(IsYes(static_cast<const CParameterField*>(nullptr)));
    EXPECT_FALSE(IsNo(static_cast<const CParameterField*>(nullptr)));
    EXPECT_FALSE(IsYes(-1));
}

TEST_F(Predicates, LoadedFileValueComesBackWhenAFieldReturns) {
    CEditField gated(nullptr, nullptr, Rec(kGated));
    gated.AddParent(&yesNo);
    gated.SetFileEntry(L"Test_Gated", L"from file");
    for (bool loaded : {false, true}) {
        yesNo.SetValue(L"NO");
        UpdateAvailability(&gated);
        yesNo.SetValue(L"YES");
        UpdateAvailability(&gated, SFormState{.fileLoaded = loaded});
        EXPECT_EQ(gated.Value(), loaded ? L"from file" : L"") << loaded;
    }
}

TEST_F(Predicates, RuleErrorsAreLoggedAndCountAsFalse) {
    CScopedLogCapture log;
    CEditField orphan(nullptr, nullptr, Rec(kOrphan));
    orphan.SetValue(L"dropped");
    UpdateAvailability(&orphan);
    EXPECT_FALSE(orphan.IsAvailable());
    EXPECT_EQ(orphan.Value(), L"");
    EXPECT_EQ(log.Lines(),
              std::vector<std::string>{"Field ^Test_Orphan$ does not have parent ^Test_Missing$."});

    orphan.SetAvailable(true);
    EXPECT_FALSE(orphan.PassesValidity());
    EXPECT_EQ(log.Lines().size(), 2u);
    EXPECT_NO_THROW(UpdateAvailability(nullptr));
}

TEST_F(Predicates, OnAvailableActionRunsAfterTheFieldIsEnabled) {
    CEditField forced(nullptr, nullptr, Rec(kForced));
    UpdateAvailability(&forced);
    EXPECT_EQ(forced.Value(), L"forced");
    EXPECT_FALSE(forced.IsEnabled());
}

TEST_F(Predicates, ChangeReachesOnlyLaterChildrenOfTheChangedField) {
    CEditField before(nullptr, nullptr, Rec(kGated));
    CEditField child1(nullptr, nullptr, Rec(kGated));
    CEditField unrelated(nullptr, nullptr, Rec(kForced));
    CEditField child2(nullptr, nullptr, Rec(kGated));
    CFieldList list;
    for (CEditField* f : {&before, &child1, &child2}) {
        f->AddParent(&yesNo);
    }
    for (CParameterField* f :
         std::initializer_list<CParameterField*>{&before, &yesNo, &child1, &unrelated, &child2}) {
        list.Append(f);
    }

    yesNo.SetValue(L"YES");
    list.PropagateChange(1, &yesNo, false);
    EXPECT_FALSE(before.IsAvailable()) << "fields before the change are not re-evaluated";
    EXPECT_TRUE(child1.IsAvailable());
    EXPECT_TRUE(child2.IsAvailable());
    EXPECT_FALSE(unrelated.IsAvailable()) << "a field that does not depend on the change is left alone";
    list.PropagateChange(1, &yesNo, true);
    EXPECT_TRUE(unrelated.IsAvailable());

    yesNo.SetValue(L"NO");
    list.PropagateChange(0, &before, false);
    EXPECT_TRUE(child2.IsAvailable()) << "no field depends on the changed one";
    list.PropagateChange(1, &yesNo, false);
    EXPECT_FALSE(child2.IsAvailable());
}

} // namespace
