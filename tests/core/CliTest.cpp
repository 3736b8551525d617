#include "CliTool.h"
#include "FullForm.h"
#include "catalog/GroupCatalog.h"
#include "catalog/PageCatalog.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#ifdef ORVIK_CLI_PATH

namespace {

namespace fs = std::filesystem;

const char kSaved[] = "Ab-Co__M-1__2__123__P1.txt";
const char kNotComplete[] = "Couldn't save Orvik: form not complete or invalid data entered.";

// A complete dual-role USB Type-C port, answered in the order a user walks through the tabs: two
// Source PDOs (the second a battery), one Sink PDO, one SOP SVID with two fixed modes. Fields the
// form fixes by itself (the first PDO's type and voltage, the state machine, ...) are not answered.
std::vector<std::string> PortSettings() {
    return {"$Vendor_Name=Ab Co",
            "$Model_Part_Number=M/1",
            "$Product_Revision=2",
            "$TID=123",
            "Orvik_Product_Type=0",
            "$Port_Label=P1",
            "Connector_Type=2",
            "USB_PD_Support=YES",
            "PD_Port_Type=4",
            "Port_Battery_Powered=NO",
            "BC_1_2_Support=2",
            "PD_Specification_Revision=2",
            "SOP_Capable=YES",
            "SOP_P_Capable=NO",
            "SOP_P_Debug_Capable=NO",
            "SOP_PP_Debug_Capable=NO",
            "Security_Msgs_Supported_SOP=NO",
            "Manufacturer_Info_Supported_Port=YES",
            "Manufacturer_Info_VID_Port=04B4",
            "Manufacturer_Info_PID_Port=1234",
            "Num_Fixed_Batteries=0",
            "Num_Swappable_Battery_Slots=0",
            "Responds_To_Discov_SOP_UFP=YES",
            "Responds_To_Discov_SOP_DFP=YES",
            "Attempts_Discov_SOP=YES",
            "USB_Comms_Capable=YES",
            "Type_C_Can_Act_As_Host=YES",
            "Type_C_Can_Act_As_Device=YES",
            "Type_C_Is_Alt_Mode_Controller=NO",
            "Type_C_Is_Alt_Mode_Adapter=YES",
            "DR_Swap_To_DFP_Supported=YES",
            "DR_Swap_To_UFP_Supported=YES",
            "Unconstrained_Power=YES",
            "Type_C_Sources_VCONN=YES",
            "VCONN_Swap_To_On_Supported=YES",
            "Chunking_Implemented_SOP=YES",
            "Unchunked_Extended_Messages_Supported=NO",
            "Type_C_Implements_Try_SRC=NO",
            "Type_C_Implements_Try_SNK=NO",
            "RP_Value=2",
            "Type_C_Is_VCONN_Powered_Accessory=NO",
            "Type_C_Is_Debug_Target_SRC=NO",
            "Type_C_Is_Debug_Target_SNK=NO",
            "Type_C_Power_Source=0",
            "Type_C_Port_On_Hub=NO",
            "Type_C_Supports_Audio_Accessory=NO",
            "Captive_Cable=NO",
            "Product_Total_Source_Power=60",
            "Port_Source_Power_Type=0",
            "Host_Speed=2",
            "Host_Contains_Captive_Retimer=NO",
            "Host_Truncates_DP_for_tDHPResponse=YES",
            "Host_Gen1x1_tLinkTurnaround=500",
            "Host_Gen2x1_tLinkTurnaround=800",
            "Host_Is_Embedded=NO",
            "Device_Speed=2",
            "Device_Contains_Captive_Retimer=NO",
            "Device_Truncates_DP_for_tDHPResponse=NO",
            "BC_1_2_Charging_Port_Type=0",
            "PD_Power_as_Source=60000",
            "USB_Suspend_May_Be_Cleared=NO",
            "Sends_Pings=NO",
            "FR_Swap_Supported_As_Source=NO",
            "PD_OC_Protection=YES",
            "PD_OCP_Method=2",
            "Num_Src_PDOs=2",
            "PD_Power_as_Sink=60000",
            "No_USB_Suspend_May_Be_Set=NO",
            "GiveBack_May_Be_Set=NO",
            "Higher_Capability_Set=YES",
            "FR_Swap_Reqd_Type_C_Current=0",
            "Num_Snk_PDOs=1",
            "Accepts_PR_Swap_As_Src=YES",
            "Accepts_PR_Swap_As_Snk=YES",
            "Requests_PR_Swap_As_Src=NO",
            "Requests_PR_Swap_As_Snk=NO",
            "XID_SOP=0",
            "Product_Type_DFP_SOP=2",
            "Modal_Operation_Supported_SOP=YES",
            "USB_VID_SOP=04B4",
            "PID_SOP=5678",
            "bcdDevice_SOP=0100",
            "SVID_fixed_SOP=YES",
            "Num_SVIDs_min_SOP=1",
            "Num_SVIDs_max_SOP=1",
            "AMA_HW_Vers=1",
            "AMA_FW_Vers=2",
            "AMA_VCONN_reqd=NO",
            "AMA_VBUS_reqd=NO",
            "AMA_Superspeed_Support=1",
            "Src_PDO_Peak_Current1=0",
            "Src_PDO_Max_Current1=3000",
            "Src_PD_OCP_OC_Debounce1=10",
            "Src_PD_OCP_OC_Threshold1=4000",
            "Src_PD_OCP_UV_Debounce1=10",
            "Src_PD_OCP_UV_Threshold_Type1=1",
            "Src_PD_OCP_UV_Threshold1=90",
            "Src_PDO_Supply_Type2=1",
            "Src_PDO_Min_Voltage2=5000",
            "Src_PDO_Max_Voltage2=20000",
            "Src_PDO_Max_Power2=45000",
            "Snk_PDO_Op_Current1=3000",
            "SVID1_SOP=FF01",
            "SVID1_modes_fixed_SOP=YES",
            "SVID1_num_modes_min_SOP=2",
            "SVID1_num_modes_max_SOP=2",
            "SVID1_mode1_enter_SOP=YES",
            "SVID1_mode2_enter_SOP=NO"};
}

// The port's answers up to and including `last`.
std::vector<std::string> PortSettingsUpTo(const std::string& last) {
    std::vector<std::string> settings;
    for (const std::string& s : PortSettings()) {
        settings.push_back(s);
        if (s == last) {
            break;
        }
    }
    return settings;
}

std::vector<std::string> NewArgs(const std::vector<std::string>& settings,
                                 std::vector<std::string> tail = {}) {
    std::vector<std::string> args = {"new"};
    for (const std::string& s : settings) {
        args.push_back("--set");
        args.push_back(s);
    }
    args.insert(args.end(), tail.begin(), tail.end());
    return args;
}

const char kIntroOnly[] =
    "$Vendor_Name: \"Ab Co\"\r\n$Model_Part_Number: \"M/1\"\r\n$Product_Revision: \"2\"\r\n"
    "$TID: \"123\"\r\nOrvik_Product_Type: 0\r\n$Port_Label: \"P1\"\r\n";

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++n;
    }
    return n;
}

TEST_F(CliTool, HelpExplainsEveryCommand) {
    const SRun help = Run({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* command : {"check", "print", "save", "new", "fields", "diff", "explain"}) {
        EXPECT_NE(help.out.find(std::string("orvik ") + command), std::string::npos) << command;
        const SRun one = Run({command, "--help"});
        EXPECT_EQ(one.code, 0) << command;
        EXPECT_EQ(one.out.rfind(std::string("orvik ") + command, 0), 0u) << one.out;
    }
}

TEST_F(CliTool, MistakesOnTheCommandLineExit2WithTheUsageLine) {
    const std::vector<std::vector<std::string>> mistakes = {{},
                                                            {"frobnicate"},
                                                            {"--frob"},
                                                            {"check"},
                                                            {"check", "a", "b"},
                                                            {"check", "--brief", "a"},
                                                            {"diff", "a"},
                                                            {"diff", "a", "b", "c"},
                                                            {"check", "--dir", "x", "a"},
                                                            {"save", "a", "--dir"},
                                                            {"new", "--set", "NoEquals"},
                                                            {"new", "--print", "--save", "d"},
                                                            {"explain"},
                                                            {"explain", "a", "b", "c"},
                                                            {"--help", "nope"}};
    for (const auto& args : mistakes) {
        const SRun run = Run(args);
        EXPECT_EQ(run.code, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("usage: orvik "), std::string::npos) << run.err;
    }
}

// A question explained with a file's answers says why it is asked with them; a PDO the file does
// not hold is made to be explained; a name no question has is an error.
TEST_F(CliTool, ExplainSaysWhyAQuestionIsAskedWithTheFilesAnswers) {
    const SRun made = Run(NewArgs(PortSettings(), {"--print"}));
    ASSERT_EQ(made.code, 0) << made.err;
    Write("port.txt", made.out);
    const SRun asked = Run({"explain", "PD_Port_Type", "port.txt"});
    EXPECT_EQ(asked.code, 0) << asked.err;
    EXPECT_EQ(asked.out.rfind("PD_Port_Type (", 0), 0u) << asked.out;
    EXPECT_NE(asked.out.find("Asked when `USB_PD_Support` is YES"), std::string::npos) << asked.out;
    const SRun fresh = Run({"explain", "PD_Port_Type"});
    EXPECT_NE(fresh.out.find("Not asked: needs"), std::string::npos) << fresh.out;
    const SRun item = Run({"explain", "Src_PDO_Voltage3", "port.txt"});
    EXPECT_EQ(item.code, 0) << item.err;
    EXPECT_NE(item.out.find("Takes a number from 0 to 20000 mV"), std::string::npos) << item.out;
    EXPECT_EQ(Run({"explain", "No_Such_Question"}).code, 2);
}

TEST_F(CliTool, NewPortFormRoundTripsThroughCheckAndPrint) {
    const SRun made = Run(NewArgs(PortSettings(), {"--print"}));
    ASSERT_EQ(made.code, 0) << made.err;
    EXPECT_EQ(made.err, "");
    const std::string& bytes = made.out;
    EXPECT_EQ(bytes.rfind("; \r\n; Halvex Marnel File Generator, Version 1.2.2.2\r\n; \r\n\r\n", 0), 0u);
    EXPECT_NE(bytes.find("$Orvik_Specification: \"Revision 1.36, Version 1.0\"\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("    Src_PDO_Voltage1: 100        ; (5000 mV)\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("    Src_PDO_Max_Power2: 180        ; (45000 mW)\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("    SVID1_SOP: 0xFF01\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\n        SVID1_mode2_enter_SOP: NO\r\n\r\n"), std::string::npos);
    EXPECT_EQ(Count(bytes, "\n"), Count(bytes, "\r\n"));
    Write("port.txt", bytes);

    const SRun checked = Run({"check", "port.txt"});
    EXPECT_EQ(checked.code, 0) << checked.out << checked.err;
    const std::vector<std::string> lines = LinesOf(checked.out);
    ASSERT_EQ(lines.size(), 14u) << checked.out;
    EXPECT_EQ(lines.front(), "[ok] Intro");
    EXPECT_EQ(lines.back(), "[ok] AMA");
    for (const std::string& line : lines) {
        EXPECT_EQ(line.rfind("[ok] ", 0), 0u) << line;
    }

    const SRun printed = Run({"print", Path("port.txt")});
    EXPECT_EQ(printed.code, 0);
    EXPECT_EQ(printed.out, bytes);

    const SRun reported = Run(NewArgs(PortSettings()));
    EXPECT_EQ(reported.code, 0);
    EXPECT_EQ(reported.out, checked.out);
}

// Printing what was printed gives the same bytes, also for values the form refuses: a number out
// of range stays in file units, hexadecimal digits where a decimal number belongs stay as they
// stand.
TEST_F(CliTool, PrintingAPrintedFileChangesNothing) {
    const SRun made = Run(NewArgs(PortSettings(), {"--print"}));
    ASSERT_EQ(made.code, 0) << made.err;
    const std::string valid = "    Src_PDO_Max_Current1: 300        ; (3000 mA)\r\n";
    const std::size_t at = made.out.find(valid);
    ASSERT_NE(at, std::string::npos);
    for (const std::string value : {"600", "0xAB"}) {
        std::string bytes = made.out;
        bytes.replace(at, valid.size(), "    Src_PDO_Max_Current1: " + value + "\r\n");
        Write("port.txt", bytes);
        const SRun first = Run({"print", "port.txt"});
        EXPECT_EQ(first.code, 0) << first.err;
        const std::string expected = "    Src_PDO_Max_Current1: " + value + "        ; <Invalid> mA\r\n";
        EXPECT_NE(first.out.find(expected), std::string::npos) << value << "\n" << first.out;
        Write("again.txt", first.out);
        const SRun second = Run({"print", "again.txt"});
        EXPECT_EQ(second.out, first.out) << value;
    }
}

// The product type of a port that turns out to act as a device is asked, not left at the
// "Undefined" forced while it could not; a file's own answer is kept.
TEST_F(CliTool, TheUfpProductTypeIsAskedOnceThePortActsAsADevice) {
    const std::vector<std::string> settings = {"Orvik_Product_Type=0",
                                               "Connector_Type=2",
                                               "USB_PD_Support=YES",
                                               "PD_Port_Type=4",
                                               "USB_Comms_Capable=YES",
                                               "Type_C_Can_Act_As_Host=NO",
                                               "Responds_To_Discov_SOP_UFP=YES",
                                               "Type_C_Can_Act_As_Device=YES"};
    const SRun printed = Run(NewArgs(settings, {"--print"}));
    EXPECT_EQ(printed.code, 0) << printed.err;
    EXPECT_NE(printed.out.find("\r\nProduct_Type_UFP_SOP: \r\n"), std::string::npos) << printed.out;
    const SRun checked = Run(NewArgs(settings));
    EXPECT_NE(checked.out.find("  Product_Type_UFP_SOP: missing\n"), std::string::npos) << checked.out;

    const SRun made = Run(NewArgs(PortSettings(), {"--print"}));
    ASSERT_EQ(made.code, 0) << made.err;
    for (const std::string answer : {"1        ; PDUSB Hub", "2        ; PDUSB Peripheral"}) {
        std::string bytes = made.out;
        const std::string adapter = "Type_C_Is_Alt_Mode_Adapter: YES";
        const std::string ama = "Product_Type_UFP_SOP: 5        ; Alternate Mode Adapter (AMA)";
        ASSERT_NE(bytes.find(adapter), std::string::npos);
        ASSERT_NE(bytes.find(ama), std::string::npos);
        bytes.replace(bytes.find(adapter), adapter.size(), "Type_C_Is_Alt_Mode_Adapter: NO");
        bytes.replace(bytes.find(ama), ama.size(), "Product_Type_UFP_SOP: " + answer.substr(0, 1));
        Write("port.txt", bytes);
        const SRun first = Run({"print", "port.txt"});
        EXPECT_NE(first.out.find("\r\nProduct_Type_UFP_SOP: " + answer + "\r\n"), std::string::npos)
            << first.out;
        Write("again.txt", first.out);
        EXPECT_EQ(Run({"print", "again.txt"}).out, first.out);
    }
}

TEST_F(CliTool, CheckOfAnIncompleteFileNamesEveryMissingAnswer) {
    Write("intro.txt", kIntroOnly);
    const SRun run = Run({"check", "intro.txt"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "[ok] Intro\n"
                       "[invalid] Orvik Product\n"
                       "  Connector_Type: missing\n"
                       "  Port_Battery_Powered: missing\n");
}

TEST_F(CliTool, CheckExplainsInvalidValuesAndIncompleteLists) {
    Write("full.txt", orvik::testsupport::FullPortForm(2, 1, 2, 1));
    std::string edited = Read("full.txt");
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"RP_Value: 2", "RP_Value: 7"},
             {"PD_Power_as_Source: 60000", "PD_Power_as_Source: 15500"},
             {"Num_Src_PDOs: 2", "Num_Src_PDOs: 3"},
             {"Src_PDO_Max_Current2: 300", "Src_PDO_Max_Current2: 600"},
             {"SVID2_SOP: 0xFF02", "SVID2_SOP: 0xFF01"},
             {"SVID1_mode1_enter_SOP: YES", "SVID1_mode1_enter_SOP: NO"}}) {
        const std::size_t at = edited.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        edited.replace(at, from.size(), to);
    }
    Write("edited.txt", edited);
    const SRun run = Run({"check", "edited.txt"});
    EXPECT_EQ(run.code, 1);
    const std::string& out = run.out;
    EXPECT_NE(
        out.find(
            "[invalid] USB Type-C\n  RP_Value: invalid value \"7\" (choices: 0 Default, 1 1.5A, 2 3A)\n"),
        std::string::npos)
        << out;
    EXPECT_NE(out.find("[invalid] Source\n  PD_Power_as_Source: value \"15500\" not accepted (If it is less"),
              std::string::npos);
    EXPECT_NE(out.find("  Src_PD_OCP_OC_Threshold2: invalid value \"4000\" (Enter a number in the range 6000 "
                       "through 10000.)\n"),
              std::string::npos);
    EXPECT_NE(out.find("  Source PDOs: list incomplete: 2 defined but Num_Src_PDOs is 3; PDO 2 incomplete\n"),
              std::string::npos);
    EXPECT_NE(out.find("  SVIDs: list incomplete: SVID 1 incomplete; SVIDs 1 and 2 have the same value\n"),
              std::string::npos);
    EXPECT_NE(out.find("  SVID1_SOP modes: list incomplete: no mode can be entered\n"), std::string::npos);
    EXPECT_NE(out.find("[ok] Sink\n"), std::string::npos);
}

TEST_F(CliTool, UnreadableFileExits2WithTheLoaderMessage) {
    const std::string missing = Path("missing.txt");
    for (const char* command : {"check", "print", "save"}) {
        const SRun run = Run({command, missing});
        EXPECT_EQ(run.code, 2) << command;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "Couldn't read from file '" + missing + "': No such file or directory\n");
    }
}

TEST_F(CliTool, SaveWritesTheFileNamedFromTheAnswers) {
    Write("full.txt", orvik::testsupport::FullPortForm(3, 2, 2, 2));
    fs::create_directory(dir_ / "out");
    const SRun saved = Run({"save", "full.txt", "--dir", "out"});
    ASSERT_EQ(saved.code, 0) << saved.out << saved.err;
    EXPECT_EQ(saved.out, std::string(kSaved) + "\n");
    EXPECT_NE(saved.err.find(std::string("Success: Orvik saved to ") + kSaved + ".\n"), std::string::npos);
    EXPECT_EQ(Read(std::string("out/") + kSaved), Run({"print", "full.txt"}).out);

    const SRun here = Run({"save", "full.txt"});
    EXPECT_EQ(here.code, 0);
    EXPECT_TRUE(fs::exists(dir_ / kSaved));
}

TEST_F(CliTool, SaveIntoADirectoryThatCannotExistExits3) {
    Write("full.txt", orvik::testsupport::FullPortForm(1, 1, 1, 1));
    Write("plain", "a regular file, so nothing can be created below it");
    const SRun run = Run({"save", "full.txt", "--dir", "plain/sub"});
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(std::string("Failure: couldn't open ") + kSaved + ": "), std::string::npos)
        << run.err;
    EXPECT_EQ(Count(run.err, kNotComplete), 1u);
}

TEST_F(CliTool, SaveOfAnIncompleteFormExits1AndWritesNothing) {
    Write("intro.txt", kIntroOnly);
    const SRun run = Run({"save", "intro.txt"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, Run({"check", "intro.txt"}).out);
    EXPECT_EQ(Count(run.err, kNotComplete), 1u) << run.err;
    EXPECT_FALSE(fs::exists(dir_ / kSaved));
}

TEST_F(CliTool, NewSavesIntoTheGivenDirectory) {
    fs::create_directory(dir_ / "out");
    const SRun run = Run(NewArgs(PortSettings(), {"--save", Path("out")}));
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, std::string(kSaved) + "\n");
    EXPECT_EQ(Read(std::string("out/") + kSaved), Run(NewArgs(PortSettings(), {"--print"})).out);
}

TEST_F(CliTool, SetRefusesFieldsTheUserCannotAnswer) {
    const std::vector<std::string> port = PortSettingsUpTo("PD_Port_Type=4");
    const std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
        {{"Connector_Type=2"}, "cannot set Connector_Type: not asked with the answers given so far"},
        {{"Orvik_Product_Type=1", "Src_PDO_Voltage2=9000"},
         "cannot set Src_PDO_Voltage2: not asked with the answers given so far"},
        {{"No_Such_Field=1"}, "cannot set No_Such_Field: no such field"},
        {{"$Orvik_Producer=x"}, "cannot set $Orvik_Producer: filled in by the program"},
        {{"$Vendor_Name=Ab\nCo"}, "cannot set $Vendor_Name: an answer cannot hold a line break"},
    };
    for (const auto& [settings, message] : refusals) {
        const SRun run = Run(NewArgs(settings));
        EXPECT_EQ(run.code, 2) << message;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "orvik: " + message + "\n");
    }
    std::vector<std::string> forced = port;
    forced.push_back("Src_PDO_Voltage1=9000");
    const SRun run = Run(NewArgs(forced));
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(run.err, "orvik: cannot set Src_PDO_Voltage1: fixed at \"5000\" by the other answers\n");
}

TEST_F(CliTool, AGroupFieldCreatesTheItemsUpToItsNumbers) {
    std::vector<std::string> settings = PortSettingsUpTo("PD_Port_Type=4");
    settings.push_back("Src_PDO_Supply_Type3=1");
    const SRun run = Run(NewArgs(settings, {"--print"}));
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("\r\n    Src_PDO_Supply_Type1: 0        ; Fixed\r\n"), std::string::npos);
    EXPECT_NE(run.out.find("\r\n    Src_PDO_Supply_Type2: \r\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\r\n    Src_PDO_Supply_Type3: 1        ; Battery\r\n"), std::string::npos);
    EXPECT_NE(run.out.find("    Src_PDO_Max_Power3: <Invalid>"), std::string::npos);
}

TEST_F(CliTool, LoaderDiagnosticsGoToStandardErrorWithoutTimeStamps) {
    Write("odd.txt", std::string(kIntroOnly) +
                         "Connector_Type: 0X02\r\n$TID: \"124\"\r\n$Product_Name: \"X-1\"\r\n" +
                         std::string("\0\xff garbage \"", 12) + std::string(70000, 'x') + "\r\n");
    const SRun run = Run({"check", "odd.txt"});
    EXPECT_EQ(run.code, 1);
    const std::vector<std::string> lines = LinesOf(run.err);
    ASSERT_GE(lines.size(), 4u) << run.err;
    EXPECT_EQ(lines[0], "Syntax Error: couldn't parse 'Connector_Type: 0X02'");
    EXPECT_EQ(lines[1].rfind("Syntax Error: couldn't parse '", 0), 0u);
    EXPECT_EQ(lines[2], "2 Orvik entries found for field: $TID. Discarding.");
    EXPECT_EQ(lines[3], "\"$Product_Name\" is not a valid field in this version of the Orvik.  It will be "
                        "upgraded to the current version.");
    const std::regex stamp("^[0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}");
    for (const std::string& line : lines) {
        EXPECT_FALSE(std::regex_search(line, stamp)) << line;
    }
    EXPECT_NE(run.out.find("  $TID: missing\n"), std::string::npos);
    for (const auto& entry : fs::directory_iterator(dir_)) {
        EXPECT_NE(entry.path().extension(), ".log") << entry.path();
    }
}

TEST_F(CliTool, FieldsListsEveryQuestionWithItsLimits) {
    const SRun run = Run({"fields"});
    EXPECT_EQ(run.code, 0);
    std::size_t expected = 0;
    for (const SPageRow& page : PageCatalog()) {
        expected += page.fields.size();
    }
    for (const SGroupTypeRow& row : GroupTypeRows()) {
        expected += GroupFieldRows(row.type).size();
    }
    EXPECT_EQ(LinesOf(run.out).size(), expected);
    EXPECT_NE(run.out.find("\nIntro\tOrvik_Product_Type\tchoice\t0=Port; 1=Cable; 2=Re-timer\talways asked; "
                           "valid when its kind accepts the answer\n"),
              std::string::npos);
    EXPECT_NE(
        run.out.find(
            "\nSource\tSrc_PDO_Voltage([0-9]+)\tnumber, range 0-20000, scale 50, units mV\t\tasked when "),
        std::string::npos);
    EXPECT_NE(run.out.find("\nSOP Discovery - Part Two\tSVID([0-9]+)_mode([0-9]+)_recog_mask_SOP\thex, 8 "
                           "digits\t\tasked when "),
              std::string::npos);
    EXPECT_NE(
        run.out.find("\nCable - Part Two\tSVID([0-9]+)_mode([0-9]+)_enter\tyes/no\tYES; NO\tasked when "),
        std::string::npos);
    EXPECT_NE(run.out.find("valid when it is a multiple of 500 (of 1000 above 10000)"), std::string::npos);
}

TEST_F(CliTool, NamesAndValuesKeepTheirCharacters) {
    std::vector<std::string> settings = PortSettings();
    for (std::string& s : settings) {
        if (s == "$Port_Label=P1") {
            s = "$Port_Label=\xC3\x9Cn\xC3\xAF"; // "Ünï" typed in a UTF-8 terminal
        }
    }
    const SRun made = Run(NewArgs(settings, {"--print"}));
    ASSERT_EQ(made.code, 0) << made.err;
    EXPECT_NE(made.out.find("$Port_Label: \"\xDCn\xEF\"\r\n"), std::string::npos); // Windows-1252 in the file

    const std::string folder = "d\xC3\xAFr \xC3\xA9";
    fs::create_directory(dir_ / folder);
    Write(folder + "/f \xC3\xBC.txt", made.out);
    const SRun saved = Run({"save", Path(folder + "/f \xC3\xBC.txt"), "--dir", folder});
    EXPECT_EQ(saved.code, 0) << saved.err;
    const std::string name = "Ab-Co__M-1__2__123__\xC3\x9Cn\xC3\xAF.txt";
    EXPECT_EQ(saved.out, name + "\n");
    EXPECT_EQ(Read(folder + "/" + name), made.out);
}

} // namespace

#endif
