#include <gmock/gmock.h>

#include <cstring>
#include <regex>

#include "TestSupport.h"
#include "check/Accessors.h"
#include "check/CheckXml.h"
#include "http/HttpClient.h"
#include "log/Logger.h"

using namespace testsupport;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const char* kWithout = "inputBuf_without_checkdata.txt";
const char* kAfter = "inputBuf_checkdata_after_check.txt";
const std::string kPatch = "</CHECKDATA>\n</CHECK>";

class CheckInitTest : public InTempDir {
  protected:
    void SetUp() override {
        InTempDir::SetUp();
        savedCode_ = lastErrorCode;
        lastErrorCode = 12007;
    }
    void TearDown() override {
        lastErrorCode = savedCode_;
        InTempDir::TearDown();
    }
    // The host's call: the text with its terminating zero byte counted in.
    void init(const std::string& text) {
        reader.init(text.c_str(), static_cast<uint32_t>(text.size() + 1), log);
    }
    std::string log_() const { return stampless(logText()); }
    std::string inputText() const {
        return std::string(reader.inputText.begin(), reader.inputText.end());
    }
    static std::string line(const std::string& tag, const std::string& message) {
        return "[S] " + tag + " : " + message + kEol;
    }
    static std::string dump(const std::string& tag, const std::string& text) {
        return "[S] PARSE XML FROM " + tag + " " + kEol + text + kEol;
    }
    const std::string kStart = line("setInterface", "START");
    const std::string kFailure = line("CHECKXML INIT", "THROW SOME ERROR 12007");

    CheckXml reader;
    Logger log;

  private:
    uint32_t savedCode_ = 0;
};

// ---- the four cuts -------------------------------------------------------

// The reader's init handles a missing CHECKDATA itself, also when it cannot
// write its failure line: the flows go on with the reader.
TEST_F(CheckInitTest, MissingCheckDataLeavesTheReaderReady) {
    const std::string text = "<CHECK chmode=\"1\"></CHECK>";
    for (const bool logWritable : {true, false}) {
        if (!logWritable) {
            std::filesystem::remove(kLogFileName);
            std::filesystem::create_directory(kLogFileName);
        }
        CheckXml fresh;
        EXPECT_EQ(initCheckXml(fresh, text.c_str(), static_cast<uint32_t>(text.size() + 1),
                               "GetCardInfoEx", log),
                  CheckInit::Ready)
            << (logWritable ? "log written" : "log not writable");
        EXPECT_FALSE(fresh.checkData);
    }
}

TEST_F(CheckInitTest, Case1NothingAfterCheck) {
    const std::string text =
        R"(<CHECKDATA orderguid="g1"></CHECKDATA><CHECK restaurantcode="7"></CHECK>)";
    init(text);
    EXPECT_EQ(log_(), kStart + dump("ELSE strlen(InpBuf) > s - InpBuf + checkStrLen", text));
    EXPECT_STREQ(getAttributeString(reader.check, "restaurantcode"), "7");
    EXPECT_STREQ(getAttributeString(reader.checkData, "orderguid"), "g1");
    EXPECT_THAT(reader.inputText, IsEmpty());
    EXPECT_FALSE(std::filesystem::exists(kWithout));
    EXPECT_FALSE(std::filesystem::exists(kAfter));
}

TEST_F(CheckInitTest, Case2NoCheckDataWritesItsDebugFileAndFails) {
    init("<CHECK></CHECK>\r\ntrailing bytes");
    EXPECT_EQ(log_(), kStart + dump("if(start_check_data == NULL)", "<CHECK></CHECK>") + kFailure);
    EXPECT_EQ(readFile(kWithout), "<CHECK></CHECK>");
    EXPECT_FALSE(std::filesystem::exists(kAfter));
    EXPECT_TRUE(reader.check);
    EXPECT_FALSE(reader.checkData);
    EXPECT_EQ(inputText(), std::string("<CHECK></CHECK>") + '\0');  // never cleared in this case
}

TEST_F(CheckInitTest, Case3CheckDataAfterCheck) {
    init(R"(<CHECK restaurantcode="7"></CHECK><CHECKDATA orderguid="g1"></CHECKDATA>)"
         "\n");
    const std::string cut =
        R"(<CHECK restaurantcode="7"></CHECK><CHECKDATA orderguid="g1"></CHECKDATA>)";
    EXPECT_EQ(log_(), kStart + dump("if(s < start_check_data )", cut));
    EXPECT_EQ(readFile(kAfter), cut);
    EXPECT_FALSE(std::filesystem::exists(kWithout));
    EXPECT_STREQ(getAttributeString(reader.check, "restaurantcode"), "7");
    EXPECT_STREQ(getAttributeString(reader.checkData, "orderguid"), "g1");
    EXPECT_THAT(reader.inputText, IsEmpty());
}

TEST_F(CheckInitTest, DebugFileKeepsLineFeedsWhileTheLogTranslatesThem) {
    const std::string cut = "<CHECK>\n</CHECK>\n<CHECKDATA orderguid=\"g1\">\n</CHECKDATA>";
    writeFile(kAfter, std::string(5000, 'x'));  // an earlier, longer copy is truncated
    init(cut + "\n<HOLDERS></HOLDERS>");
    EXPECT_EQ(readFile(kAfter), cut);  // byte for byte, no CR added on any platform
    std::string logged = std::regex_replace(cut, std::regex("\n"), kEol);
    EXPECT_EQ(log_(), kStart + dump("if(s < start_check_data )", logged));
    EXPECT_TRUE(reader.check);
    EXPECT_TRUE(reader.checkData);
}

TEST_F(CheckInitTest, Case4CheckDataBeforeCheckWithTrailingByte) {
    init(R"(<CHECKDATA orderguid="g1"></CHECKDATA><CHECK restaurantcode="7"></CHECK>)"
         "X");
    // Cut at the first "</CHECKDATA>"; the patch's stray "</CHECK>" ends the parse.
    EXPECT_EQ(inputText(), R"(<CHECKDATA orderguid="g1">)" + kPatch + '\0');
    EXPECT_EQ(log_(), kStart + kFailure);  // no dump in this case
    EXPECT_STREQ(getAttributeString(reader.checkData, "orderguid"), "g1");
    EXPECT_FALSE(reader.check);
    EXPECT_FALSE(std::filesystem::exists(kWithout));
    EXPECT_FALSE(std::filesystem::exists(kAfter));
}

TEST_F(CheckInitTest, Case4CheckDataNestedInCheckIsNotTopLevel) {
    init(R"(<CHECK restaurantcode="7"><CHECKDATA orderguid="g1"></CHECKDATA></CHECK>)"
         "\n");
    EXPECT_EQ(inputText(),
              R"(<CHECK restaurantcode="7"><CHECKDATA orderguid="g1">)" + kPatch + '\0');
    EXPECT_EQ(log_(), kStart + kFailure);
    ASSERT_TRUE(reader.check);
    EXPECT_STREQ(getAttributeString(reader.check.child("CHECKDATA"), "orderguid"), "g1");
    EXPECT_FALSE(reader.checkData);
}

TEST_F(CheckInitTest, Case4CutsAtCheckEndWhenItComesFirst) {
    init(R"(<CHECK a="1"><CHECKDATA x="2"></CHECK></CHECKDATA>tail)");
    EXPECT_EQ(inputText(), R"(<CHECK a="1"><CHECKDATA x="2">)" + kPatch + '\0');
}

TEST_F(CheckInitTest, UnterminatedAttributeKeepsThePartialTree) {
    const std::string text =
        R"(<CHECKDATA orderguid="g1"></CHECKDATA><CHECK restaurantcode="7" a="1></CHECK>)";
    EXPECT_EQ(initCheckXml(reader, text.c_str(), static_cast<uint32_t>(text.size() + 1),
                           "GetCardInfoEx", log),
              CheckInit::Ready);
    EXPECT_STREQ(getAttributeString(reader.check, "restaurantcode"), "7");
    EXPECT_STREQ(getAttributeString(reader.checkData, "orderguid"), "g1");
    EXPECT_EQ(log_(), kStart + dump("ELSE strlen(InpBuf) > s - InpBuf + checkStrLen", text) +
                          line("GetCardInfoEx", "checkXml.init(InpBuf) success"));
}

// ---- markers that leave the cut without an end ---------------------------

TEST_F(CheckInitTest, MissingCheckEndOrCheckDataEndFailsBeforeAnyText) {
    for (const char* text : {"<CHECK><CHECKDATA orderguid=\"g1\"></CHECKDATA>",
                             "<CHECK></CHECK><CHECKDATA orderguid=\"g1\">tail",
                             "<CHECKDATA orderguid=\"g1\"><CHECK></CHECK>tail", ""}) {
        SCOPED_TRACE(text);
        std::filesystem::remove("brisvane.log");
        CheckXml fresh;
        fresh.init(text, static_cast<uint32_t>(std::strlen(text) + 1), log);
        EXPECT_EQ(log_(), kStart + kFailure);
        EXPECT_FALSE(fresh.check);
        EXPECT_FALSE(fresh.checkData);
        EXPECT_THAT(fresh.inputText, IsEmpty());
    }
    EXPECT_FALSE(std::filesystem::exists(kWithout));
    EXPECT_FALSE(std::filesystem::exists(kAfter));
}

// ---- the host's length -----------------------------------------------------

TEST_F(CheckInitTest, TextEndsAtInpLenWhenNoZeroByteComesFirst) {
    const std::string head = R"(<CHECKDATA orderguid="g1"></CHECKDATA><CHECK></CHECK>)";
    const std::string buffer = head + "</CHECKDATA>garbage";  // never zero-terminated here
    reader.init(buffer.data(), static_cast<uint32_t>(head.size()), log);
    // Bytes beyond InpLen are not part of the text: nothing follows "</CHECK>", case 1.
    EXPECT_EQ(log_(), kStart + dump("ELSE strlen(InpBuf) > s - InpBuf + checkStrLen", head));
    EXPECT_TRUE(reader.check);
    EXPECT_TRUE(reader.checkData);
}

TEST_F(CheckInitTest, TextEndsAtZeroByteBeforeInpLen) {
    const std::string buffer =
        std::string(R"(<CHECK></CHECK><CHECKDATA orderguid="g1"></CHECKDATA>)") + '\0' +
        "<INTERFACES><INTERFACE interface=\"9\"/></INTERFACES>";
    reader.init(buffer.data(), static_cast<uint32_t>(buffer.size()), log);
    EXPECT_EQ(reader.selectedInterface, "");
    EXPECT_TRUE(reader.checkData);
}

// ---- INTERFACES ------------------------------------------------------------

TEST_F(CheckInitTest, FirstInterfaceIsSelected) {
    init(R"(<CHECK></CHECK><INTERFACES><INTERFACE interface="12"/><INTERFACE interface="13"/>)"
         R"(</INTERFACES><CHECKDATA orderguid="g1"></CHECKDATA>)");
    EXPECT_EQ(reader.selectedInterface, "12");
    EXPECT_THAT(log_(), ::testing::StartsWith(kStart + line("setInterface", "END")));
    EXPECT_TRUE(reader.checkData);

    CheckXml one;
    const std::string single =
        R"(<INTERFACES x="y"><INTERFACE interface="A7"></INTERFACE></INTERFACES>)";
    one.init(single.c_str(), static_cast<uint32_t>(single.size() + 1), log);
    EXPECT_EQ(one.selectedInterface, "A7");
}

TEST_F(CheckInitTest, MissingInterfacesWritesOnlyStartAndGoesOn) {
    init(R"(<HOLDERS><ITEM cardcode="5"/></HOLDERS><CHECKDATA a="1"></CHECKDATA><CHECK></CHECK>)");
    EXPECT_EQ(reader.selectedInterface, "");
    EXPECT_THAT(reader.cardCodes, ElementsAre(5));
    EXPECT_TRUE(reader.check);
    EXPECT_EQ(log_().find("END"), std::string::npos);
}

TEST_F(CheckInitTest, InterfacesWithoutInterfaceAttributeStopsInit) {
    for (const char* block :
         {"<INTERFACES></INTERFACES>", "<INTERFACES><INTERFACE id=\"1\"/></INTERFACES>"}) {
        SCOPED_TRACE(block);
        std::filesystem::remove("brisvane.log");
        CheckXml fresh;
        std::string text =
            std::string(block) +
            R"(<HOLDERS><ITEM cardcode="5"/></HOLDERS><CHECKDATA a="1"></CHECKDATA><CHECK></CHECK>)";
        fresh.init(text.c_str(), static_cast<uint32_t>(text.size() + 1), log);
        EXPECT_EQ(log_(), kStart + kFailure);
        EXPECT_THAT(fresh.cardCodes, IsEmpty());
        EXPECT_FALSE(fresh.check);
    }
}

TEST_F(CheckInitTest, BlockWithOneMarkerOrReversedMarkersCountsAsAbsent) {
    for (const char* blocks :
         {"<INTERFACES/><HOLDERS/>",
          "</INTERFACES><INTERFACES><INTERFACE interface=\"1\"/>"
          "</HOLDERS><HOLDERS><ITEM cardcode=\"3\"/>",
          "<INTERFACE interface=\"1\"/></INTERFACES><ITEM cardcode=\"3\"/></HOLDERS>"}) {
        SCOPED_TRACE(blocks);
        std::filesystem::remove("brisvane.log");
        CheckXml fresh;
        std::string text = std::string("<CHECKDATA a=\"1\"></CHECKDATA><CHECK></CHECK>") + blocks;
        // Blocks after the check make this case 4; the cut ignores them.
        fresh.init(text.c_str(), static_cast<uint32_t>(text.size() + 1), log);
        EXPECT_EQ(fresh.selectedInterface, "");
        EXPECT_THAT(fresh.cardCodes, IsEmpty());
        EXPECT_THAT(log_(), ::testing::StartsWith(kStart + kFailure));
    }
}

// ---- HOLDERS ---------------------------------------------------------------

TEST_F(CheckInitTest, HolderCodesAreSixtyFourBitAndNonNumericReadsZero) {
    init(R"(<HOLDERS><ITEM cardcode="123456789012345"/><OTHER cardcode="8"/><ITEM cardcode="abc"/>)"
         R"(</HOLDERS><CHECKDATA a="1"></CHECKDATA><CHECK></CHECK>)");
    EXPECT_THAT(reader.cardCodes, ElementsAre(123456789012345LL, 0));
    EXPECT_TRUE(reader.check);
}

TEST_F(CheckInitTest, ItemWithoutCardCodeStopsInitAfterEarlierCodes) {
    init(R"(<INTERFACES><INTERFACE interface="4"/></INTERFACES><HOLDERS><ITEM cardcode="1"/>)"
         R"(<ITEM/><ITEM cardcode="2"/></HOLDERS><CHECKDATA a="1"></CHECKDATA><CHECK></CHECK>)");
    EXPECT_EQ(reader.selectedInterface, "4");
    EXPECT_THAT(reader.cardCodes, ElementsAre(1));
    EXPECT_FALSE(reader.check);
    EXPECT_EQ(log_(), kStart + line("setInterface", "END") + kFailure);
}

}  // namespace
