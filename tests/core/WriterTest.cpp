#include "FormFixture.h"
#include "FullForm.h"
#include "LogCapture.h"
#include "persistence/FileWriter.h"
#include "persistence/OrvikReader.h"
#include "sheet/PropertySheet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string kSeparator = std::string(78, ';') + "\r\n";

class WriterTest : public CFormFixture {};

TEST_F(WriterTest, NewFormWritesHeaderAndIntroSectionOnly) {
    const std::string expected = "; \r\n"
                                 "; Halvex Marnel File Generator, Version 1.2.2.2\r\n"
                                 "; \r\n"
                                 "\r\n" +
                                 kSeparator + ";   Intro tab\r\n" + kSeparator +
                                 "$Orvik_Specification: \"Revision 1.36, Version 1.0\"\r\n"
                                 "$Orvik_Producer: \"Halvex Marnel File Generator, Version 1.2.2.2\"\r\n"
                                 "$Vendor_Name: \"\"\r\n"
                                 "$Model_Part_Number: \"\"\r\n"
                                 "$Product_Revision: \"\"\r\n"
                                 "$TID: \"\"\r\n"
                                 "Orvik_Product_Type: \r\n"
                                 "\r\n";
    EXPECT_EQ(BuildOrvikBytes(sheet), expected);
}

TEST_F(WriterTest, SectionsFollowTheTabsInOrderWithCommentsInTheFileCodePage) {
    Answer(L"Orvik_Product_Type", L"0");
    Answer(L"Connector_Type", L"2");
    Answer(L"USB_PD_Support", L"YES");
    Answer(L"PD_Port_Type", L"3");
    const std::string bytes = BuildOrvikBytes(sheet);
    EXPECT_NE(bytes.find("Orvik_Product_Type: 0        ; Port\r\n$Port_Label: \"\"\r\n\r\n"),
              std::string::npos);
    EXPECT_NE(bytes.find("Connector_Type: 2        ; USB Type-C\x99\r\n"), std::string::npos);
    EXPECT_NE(bytes.find(";   USB Type-C tab\r\n"), std::string::npos)
        << "the heading uses the section caption";
    const std::size_t product = bytes.find(";   Orvik Product tab");
    const std::size_t general = bytes.find(";   General PD Settings tab");
    const std::size_t source = bytes.find(";   Source tab");
    ASSERT_NE(product, std::string::npos);
    ASSERT_NE(general, std::string::npos);
    ASSERT_NE(source, std::string::npos);
    EXPECT_LT(product, general);
    EXPECT_LT(general, source);
    EXPECT_EQ(bytes.find(";   Sink tab"), std::string::npos) << "a provider-only port has no Sink tab";
    EXPECT_EQ(bytes.find(";   Cable - Part One tab"), std::string::npos);
    EXPECT_EQ(bytes.find('\n'), bytes.find("\r\n") + 1);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_EQ(bytes[i - 1], '\r') << "every line ends in CR LF";
        }
    }
}

TEST_F(WriterTest, ProducerAndFormatAreThoseOfThisTool) {
    ASSERT_TRUE(
        LoadOrvikBytes(sheet, L"old.txt",
                       "$Orvik_Producer: \"Older tool 0.9\"\r\n$Orvik_Specification: \"Revision 1.0\"\r\n"));
    const std::string bytes = BuildOrvikBytes(sheet);
    EXPECT_NE(bytes.find("$Orvik_Producer: \"Halvex Marnel File Generator, Version 1.2.2.2\""),
              std::string::npos);
    EXPECT_NE(bytes.find("$Orvik_Specification: \"Revision 1.36, Version 1.0\""), std::string::npos);
    // Writing reads the form: it still shows what the file said.
    EXPECT_EQ(sheet.FindField(L"$Orvik_Producer")->Value(), L"Older tool 0.9");
}

TEST_F(WriterTest, TextValuesAreWrittenInTheFileCodePage) {
    Answer(L"$Vendor_Name", L"Caf\u00e9 \u2122 \u4e2d");
    EXPECT_NE(BuildOrvikBytes(sheet).find("$Vendor_Name: \"Caf\xe9 \x99 ?\""), std::string::npos);
}

class RoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(RoundTrip, WrittenFilesLoadBackToTheSameBytes) {
    CScopedLogCapture log;
    CMarnelPropertySheet first;
    first.Initialize();
    ASSERT_TRUE(LoadOrvikBytes(first, L"in.txt", GetParam()));
    const std::string written = BuildOrvikBytes(first);

    CMarnelPropertySheet second;
    second.Initialize();
    ASSERT_TRUE(LoadOrvikBytes(second, L"again.txt", written));
    EXPECT_EQ(BuildOrvikBytes(second), written);
    EXPECT_TRUE(log.Lines().empty()) << "first diagnostic: " << log.Lines().front();
}

// A load depends on nothing but the file: one sheet that has read other files before, larger and
// smaller, port and cable, writes after each load exactly what a sheet that read only that file
// writes. The fuzzing run counts on it when it proves each written form once.
TEST(Reload, WritesWhatAFreshSheetWrites) {
    CScopedLogCapture log;
    using orvik::testsupport::FullCableForm;
    using orvik::testsupport::FullPortForm;
    const std::vector<std::string> files = {
        FullPortForm(),           FullCableForm(),
        FullPortForm(2, 3, 2, 1), std::string(),
        FullPortForm(7, 1, 3, 6), std::string("Src_PDO_Voltage9: 100\r\n\x01\xff junk\r\n"),
        FullCableForm(3, 1),      FullPortForm(1, 1, 1, 1)};
    std::vector<std::string> expected;
    for (const std::string& file : files) {
        CMarnelPropertySheet fresh;
        fresh.Initialize();
        ASSERT_TRUE(LoadOrvikBytes(fresh, L"fresh.txt", file));
        expected.push_back(BuildOrvikBytes(fresh));
    }
    CMarnelPropertySheet reused;
    reused.Initialize();
    for (int round = 0; round < 2; ++round) {
        for (std::size_t k = 0; k < files.size(); ++k) {
            // Forwards, then backwards: each file follows a different one the second time.
            const std::size_t i = round == 0 ? k : files.size() - 1 - k;
            ASSERT_TRUE(LoadOrvikBytes(reused, L"reused.txt", files[i]));
            EXPECT_EQ(BuildOrvikBytes(reused), expected[i]) << "file " << i << ", round " << round;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Writer, RoundTrip,
                         ::testing::Values(orvik::testsupport::FullPortForm(),
                                           orvik::testsupport::FullPortForm(2, 3, 2, 1),
                                           orvik::testsupport::FullCableForm()));

} // namespace
