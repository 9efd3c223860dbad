#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "logger/PropertyReader.h"
#include "logger/TempDir.h"

namespace {

typedef std::map<std::string, std::string> Table;

Table toTable(const Properties& p) { return Table(p.begin(), p.end()); }

std::string slurp(const std::string& path) {
    std::ifstream in(path.c_str());
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

enum Outcome { PARSES, BAD_FORMAT };

struct ParseCase {
    const char* name;
    std::string text;
    Outcome outcome;
    Table expected;
};

void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class PropertyParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(PropertyParse, ReadsLineGrammar) {
    const ParseCase& c = GetParam();
    std::istringstream in(c.text);
    PropertyReader reader;
    if (c.outcome == BAD_FORMAT) {
        EXPECT_THROW(reader.read(in), BadPropertyFormatException);
    } else {
        EXPECT_EQ(toTable(reader.read(in)), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ConfigLines, PropertyParse,
    ::testing::Values(
        ParseCase{"Empty", "", PARSES, {}},
        ParseCase{"CommentAndEmptyLineSkipped", "# logging\n\nLOG_LEVEL=DEBUG\n", PARSES,
                  {{"LOG_LEVEL", "DEBUG"}}},
        ParseCase{"SplitAtFirstEquals", "NOME=a=b=c\n", PARSES, {{"NOME", "a=b=c"}}},
        ParseCase{"EmptyValue", "NOME=\n", PARSES, {{"NOME", ""}}},
        ParseCase{"BlanksKept", "LOG_ENABLED = YES\n", PARSES, {{"LOG_ENABLED ", " YES"}}},
        ParseCase{"CarriageReturnKept", "LOG_ENABLED=YES\r\nNOME=x\r\n", PARSES,
                  {{"LOG_ENABLED", "YES\r"}, {"NOME", "x\r"}}},
        ParseCase{"LaterKeyWins", "A=1\nB=2\nA=3\n", PARSES, {{"A", "3"}, {"B", "2"}}},
        ParseCase{"LastLineWithoutNewline", "A=1\nB=2", PARSES, {{"A", "1"}, {"B", "2"}}},
        ParseCase{"IndentedHashIsNoComment", "  #x=1\n", PARSES, {{"  #x", "1"}}},
        ParseCase{"EmptyKey", "=x\n", BAD_FORMAT, {}},
        ParseCase{"NoEquals", "novalue\n", BAD_FORMAT, {}},
        ParseCase{"BlanksOnly", "   \n", BAD_FORMAT, {}},
        ParseCase{"BadLineAfterGoodOnes", "A=1\nB=2\nbroken\n", BAD_FORMAT, {}}),
    [](const ::testing::TestParamInfo<ParseCase>& info) { return std::string(info.param.name); });

TEST(PropertyReaderFile, ReadsFileAndAbsentKeyIsEmpty) {
    TempDir dir;
    {
        std::ofstream out(dir.file("config.ini").c_str());
        out << "# agent\nLOG_ENABLED=YES\r\nNOME=QUORVEL\n";
    }
    Properties p = PropertyReader().read(dir.file("config.ini"));
    EXPECT_EQ(p.Get("NOME"), "QUORVEL");
    EXPECT_EQ(p.Get("LOG_ENABLED"), "YES\r");
    EXPECT_EQ(p.Get("LOG_LEVEL"), "");
    EXPECT_FALSE(p.exists("LOG_LEVEL"));
}

TEST(PropertyReaderFile, UnreadableFileIsStreamError) {
    TempDir dir;
    PropertyReader reader;
    EXPECT_THROW(reader.read(dir.file("missing.ini")), PropertyStreamError);
    // A directory opens but cannot be read.
    EXPECT_THROW(reader.read(dir.path()), PropertyStreamError);
}

TEST(PropertyReaderWrite, WritesCommentLinesThenPairsInKeyOrder) {
    Properties p;
    p.setProperty("NOME", "a=b");
    p.setProperty(Property("LOG_LEVEL", "INFO\r"));
    std::ostringstream out;
    PropertyReader().write(out, "agent settings\nsecond line", p);
    EXPECT_EQ(out.str(), "#agent settings\n#second line\nLOG_LEVEL=INFO\r\nNOME=a=b\n");

    std::istringstream back(out.str());
    EXPECT_EQ(toTable(PropertyReader().read(back)), toTable(p));
}

TEST(PropertyReaderWrite, EmptyMessageWritesNoComment) {
    Properties p;
    p.setProperty("A", "1");
    TempDir dir;
    PropertyReader().write(dir.file("out.ini"), p);
    EXPECT_EQ(slurp(dir.file("out.ini")), "A=1\n");
}

TEST(PropertyReaderWrite, FailedStreamOrFileIsStreamError) {
    Properties p;
    p.setProperty("A", "1");
    std::ostringstream failed;
    failed.setstate(std::ios::failbit);
    PropertyReader reader;
    EXPECT_THROW(reader.write(failed, p), PropertyStreamError);

    TempDir dir;
    EXPECT_THROW(reader.write(dir.file("no/such/dir.ini"), p), PropertyStreamError);
}

// Pairs that would read back as something else are refused, and the file
// already there is left as it was.
TEST(PropertyReaderWrite, RefusesPairsThatDoNotReadBack) {
    const Table unreadable[] = {
        {{"A", "1\nLOG_ENABLED=YES"}}, {{"a=b", "1"}}, {{"#A", "1"}}, {{"", "1"}}};
    TempDir dir;
    const std::string path = dir.file("config.ini");
    for (const Table& pairs : unreadable) {
        {
            std::ofstream out(path.c_str());
            out << "NOME=kept\n";
        }
        Properties p;
        for (const auto& kv : pairs) {
            p.setProperty(kv.first, kv.second);
        }
        EXPECT_THROW(PropertyReader().write(path, "msg", p), BadPropertyFormatException)
            << pairs.begin()->first;
        EXPECT_EQ(slurp(path), "NOME=kept\n");
    }
}

TEST(PropertiesTable, LookupEraseAndDefaultProperty) {
    Properties p;
    p.setProperty("K", "v1");
    p.setProperty("K", "v2");
    EXPECT_EQ(p.size(), 1u);
    EXPECT_EQ(p.propertyValue("K"), "v2");
    EXPECT_EQ(p.property("K").value(), "v2");
    Property absent = p.property("X");
    EXPECT_EQ(absent.key(), "");
    EXPECT_EQ(absent.value(), "");
    EXPECT_TRUE(p.eraseProperty("K"));
    EXPECT_FALSE(p.eraseProperty("K"));
    EXPECT_EQ(p.size(), 0u);
}

}  // namespace
