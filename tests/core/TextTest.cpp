#include "text/Text.h"
#include "model/Errors.h"
#include "text/NameIndex.h"

#include <gtest/gtest.h>

using namespace orvik;

namespace {

TEST(Cp1252, ConvertsTheCharactersOfTheCodePage) {
    EXPECT_EQ(ToCp1252(L"Caf\u00e9"), "Caf\xe9");
    EXPECT_EQ(ToCp1252(L"\u2122"), "\x99");
    EXPECT_EQ(ToCp1252(L"\u20ac \u201c\u201d \u0178"), "\x80 \x93\x94 \x9f");
    EXPECT_EQ(FromCp1252("\x99\x80\xff"), L"\u2122\u20ac\u00ff");
}

TEST(Cp1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(ToCp1252(L"\u4e2d\u0100x"), "??x");
    EXPECT_EQ(ToCp1252(L"\u0080"), "?") << "U+0080 is not the euro sign";
    EXPECT_EQ(ToCp1252(std::wstring(1, static_cast<wchar_t>(0x1F600))), "?");
}

TEST(Cp1252, EveryByteReadsBackToItself) {
    std::string bytes;
    for (int b = 0; b < 256; ++b) {
        bytes.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(ToCp1252(FromCp1252(bytes)), bytes);
}

TEST(Utf8Text, ReadsAndWritesTheCharactersOfEveryLength) {
    EXPECT_EQ(FromUtf8("Caf\xc3\xa9 \xe2\x82\xac"), L"Caf\u00e9 \u20ac");
    EXPECT_EQ(ToUtf8(L"Caf\u00e9 \u20ac"), "Caf\xc3\xa9 \xe2\x82\xac");
    const std::string beyond = "a\xf0\x9f\x98\x80z";
    EXPECT_EQ(ToUtf8(FromUtf8(beyond)), beyond);
    EXPECT_EQ(ToCp1252(FromUtf8(beyond)), "a?z") << "one character, one question mark, on every system";
}

TEST(Utf8Text, BytesThatAreNotUtf8SurviveARoundTrip) {
    for (const std::string bytes : {"a\xff", "\xc3(", "\xe9t\xe9", "\xf0\x9f\x98", "\xed\xa0\x80"}) {
        EXPECT_EQ(ToUtf8(FromUtf8(bytes)), bytes);
    }
}

TEST(FormatText, FillsConversionsInOrder) {
    EXPECT_EQ(Format(L"Field %s does not have parent %s.", {L"^A$", L"^B$"}),
              L"Field ^A$ does not have parent ^B$.");
    EXPECT_EQ(Format(L"id = %d, %u%%, %lu, %llu, %ld, %S", {L"-3", L"50", L"1", L"2", L"3", L"wide"}),
              L"id = -3, 50%, 1, 2, 3, wide");
    EXPECT_EQ(Format(L"100%", {}), L"100%");
    EXPECT_EQ(Format(L"%x and %s", {L"s"}), L"%x and s");
    EXPECT_EQ(Format(L"%s and %s", {L"one"}), L"one and ");
    EXPECT_EQ(Format(L"%s", {L"%d"}), L"%d") << "arguments are not formats";
}

TEST(NameIndex, KeepsTheFirstPositionOfANameThroughGrowthAndSorting) {
    orvik::CNameIndex index;
    std::vector<std::wstring> names;
    for (int i = 0; i < 100; ++i) {
        names.push_back(L"Name" + std::to_wstring(i));
    }
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_TRUE(index.Emplace(names[i], i));
    }
    EXPECT_FALSE(index.Emplace(names[7], 99)) << "the first position stays";
    EXPECT_EQ(index.Size(), names.size());
    EXPECT_EQ(index.Find(L"Name7"), 7u);
    EXPECT_EQ(index.Find(orvik::SHashedName{names[42], orvik::SNameHash{}(names[42])}), 42u);
    EXPECT_EQ(index.Find(L"name7"), orvik::CNameIndex::npos) << "names are compared exactly";
    index.MapPositions([](std::size_t position) { return 1000 + position; });
    EXPECT_EQ(index.Find(L"Name99"), 1099u);
    index.Clear();
    EXPECT_EQ(index.Find(L"Name7"), orvik::CNameIndex::npos);
    EXPECT_TRUE(index.Emplace(names[7], 3));
}

TEST(FilegenError, KeepsTheWideMessageAndTheCodePageText) {
    const fieldlist_error e(L"Bad \u2122 field.");
    EXPECT_EQ(e.Message(), L"Bad \u2122 field.");
    EXPECT_STREQ(e.what(), "Bad \x99 field.");
    const filegen_error& base = e;
    EXPECT_EQ(base.Message(), e.Message());
}

} // namespace
