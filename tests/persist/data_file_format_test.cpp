#include <limits>
#include <map>
#include <string>
#include <vector>

#include "persist/dict_data_file.h"
#include "temp_folder.h"

namespace {

using Entries = std::map<std::string, std::string>;

// The UTF-8 byte-order mark.
const std::string MARK = "\xEF\xBB\xBF";

class DataFileFormat : public TempFolderTest {
  protected:
    Entries loaded(const std::string& bytes) {
        writeBytes("data.dat", bytes);
        DictDataFile file("data.dat");
        EXPECT_TRUE(file.load());
        EXPECT_FALSE(file.isDirty());
        return file.entries;
    }

    DictDataFile file{"data.dat"};
};

TEST_F(DataFileFormat, WritesOneLinePerKeyInByteOrder) {
    // 0xC3 sorts after every ASCII key only when bytes compare unsigned.
    for (const char* key : {"b", "\xC3\xA9", "a", "B", "ab", "rot_xxxxx"}) {
        file.setString(key, "1");
    }
    ASSERT_TRUE(file.save(false));
    EXPECT_EQ(readBytes("data.dat"), "B=1\na=1\nab=1\nb=1\nrot_xxxxx=1\n\xC3\xA9=1\n");
}

TEST_F(DataFileFormat, WritesDecimalIntsAndSixDigitFloats) {
    file.setInt("badge", 2);
    file.setInt("rot_xxxxx", -14);
    file.setInt("yyyyy", 0);
    file.setInt("low", std::numeric_limits<std::int32_t>::min());
    file.setFloat("xxxxx", 0.15f);
    file.setFloat("zzzzz", -1.25f);
    file.setFloat("big", 1e10f);
    file.setFloat("tiny", 1e-7f);
    ASSERT_TRUE(file.save(false));
    EXPECT_EQ(readBytes("data.dat"),
              "badge=2\nbig=10000000000.000000\nlow=-2147483648\nrot_xxxxx=-14\n"
              "tiny=0.000000\nxxxxx=0.150000\nyyyyy=0\nzzzzz=-1.250000\n");
    EXPECT_EQ(file.getFloat("xxxxx"), 0.15f);
}

TEST_F(DataFileFormat, ReadsLfAndCrLfBlankLinesAndALastLineWithoutLf) {
    EXPECT_EQ(loaded("badge=3\r\nxxxxx=0.5\n\n\r\nlast=7"),
              (Entries{{"badge", "3"}, {"xxxxx", "0.5"}, {"last", "7"}}));
    EXPECT_EQ(loaded(""), Entries{});
}

// Notepad and other editors may save with a lone CR per line, or with a byte-order mark.
TEST_F(DataFileFormat, ReadsLoneCrLineEndsAndSkipsALeadingByteOrderMark) {
    const Entries expected{{"badge", "2"}, {"xxxxx", "0.5"}, {"last", "7"}};
    EXPECT_EQ(loaded("badge=2\rxxxxx=0.5\r\rlast=7\r"), expected);
    EXPECT_EQ(loaded("badge=2\r\nxxxxx=0.5\rlast=7\n"), expected);
    EXPECT_EQ(loaded(MARK + "badge=2\r\nxxxxx=0.5\r\nlast=7"), expected);
    // Only one mark, and only at the very start, is no part of a key.
    EXPECT_EQ(loaded(MARK + MARK + "a=1\n" + MARK + "b=2\n"),
              (Entries{{MARK + "a", "1"}, {MARK + "b", "2"}}));
}

TEST_F(DataFileFormat, CrOnlyAndMarkedFilesKeepEveryEntryAcrossASave) {
    for (const std::string& bytes : {std::string("badge=2\rrot_xxxxx=-14\rxxxxx=0.02\r"),
                                     MARK + "badge=2\r\nrot_xxxxx=-14\r\nxxxxx=0.02\r\n"}) {
        writeBytes("data.dat", bytes);
        DictDataFile file("data.dat");
        ASSERT_TRUE(file.load());
        EXPECT_EQ(file.getInt("badge"), 2);
        file.setInt("badge", 3);
        ASSERT_TRUE(file.save(false));
        EXPECT_EQ(readBytes("data.dat"), "badge=3\nrot_xxxxx=-14\nxxxxx=0.02\n");
    }
}

TEST_F(DataFileFormat, SkippedLinesAreCountedFromOneWhateverTheLineEnds) {
    writeBytes("data.dat", MARK + "nonsense\r\nbadge=1\r\n\rxxxxx=\nyyyyy=1\r");
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.skippedLines, (std::vector<std::size_t>{1, 4}));
    EXPECT_EQ(file.entries, (Entries{{"badge", "1"}, {"yyyyy", "1"}}));
    writeBytes("data.dat", "badge=1\n");
    ASSERT_TRUE(file.load());
    EXPECT_TRUE(file.skippedLines.empty());
}

TEST_F(DataFileFormat, TakesLinesOfExactlyTwoFieldsUntrimmed) {
    const Entries entries =
        loaded("=5\na=b=\nc==\nbadge =3\n Badge = 2 \nxxxxx=\nlone\nd=e=f\ng=h==\n");
    EXPECT_EQ(entries,
              (Entries{{"", "5"}, {"a", "b"}, {"c", ""}, {"badge ", "3"}, {" Badge ", " 2 "}}));
}

// Other programs' entries too: an empty value, the empty key, a key that begins with a mark.
TEST_F(DataFileFormat, EveryEntryLoadedReadsBackTheSameAfterASave) {
    const std::string written[] = {
        "==\nc==\n",
        MARK + MARK + "a=1\n\xF0==\n",
        MARK + MARK + "\xFD\xB4=de\n\xFD\xB4==\n",
    };
    for (const std::string& bytes : written) {
        const Entries entries = loaded(bytes);
        DictDataFile file("data.dat");
        file.entries = entries;
        ASSERT_TRUE(file.save(true));
        EXPECT_EQ(readBytes("data.dat"), bytes);
        EXPECT_EQ(loaded(readBytes("data.dat")), entries) << bytes;
    }
}

// The text as Notepad's "Unicode" (little endian) or "Unicode big endian" saves it: its mark,
// then two bytes a UTF-16 unit.
std::string utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

TEST_F(DataFileFormat, ReadsUtf16WithItsMarkAsTheUtf8ItStandsForAndSavesPlainText) {
    for (const bool bigEndian : {false, true}) {
        writeBytes("data.dat", utf16(u"badge=2\r\nxxxxx=0.5\r\n", bigEndian));
        DictDataFile file("data.dat");
        ASSERT_TRUE(file.load());
        EXPECT_STREQ(file.decodedFrom, bigEndian ? "UTF-16 BE" : "UTF-16 LE");
        EXPECT_EQ(file.entries, (Entries{{"badge", "2"}, {"xxxxx", "0.5"}}));
        file.setInt("badge", 3);
        ASSERT_TRUE(file.save(false));
        EXPECT_EQ(readBytes("data.dat"), "badge=3\nxxxxx=0.5\n");
        ASSERT_TRUE(file.load());
        EXPECT_EQ(file.decodedFrom, nullptr);
    }
}

// Beyond ASCII: two-, three- and four-byte characters (a surrogate pair), a surrogate without
// its partner, a mark inside, and an odd last byte, which Windows drops too.
TEST_F(DataFileFormat, Utf16CharactersBecomeUtf8AndALoneSurrogateTheReplacementCharacter) {
    const std::u16string text = u"\u00E9=\u20AC\r\n\U0001F920=1\r\nbad=\xD800x\r\n\xFEFFk=\xDC00";
    EXPECT_EQ(loaded(utf16(text, false) + "z"), (Entries{{"\xC3\xA9", "\xE2\x82\xAC"},
                                                         {"\xF0\x9F\xA4\xA0", "1"},
                                                         {"bad", "\xEF\xBF\xBDx"},
                                                         {MARK + "k", "\xEF\xBF\xBD"}}));
    // A mark after the UTF-16 one is no part of the first key, as in a UTF-8 file.
    EXPECT_EQ(loaded(utf16(u"\xFEFF"
                           u"badge=1",
                           true)),
              (Entries{{"badge", "1"}}));
}

// A plain file whose first key begins with the bytes of a UTF-16 mark is written so that it
// reads back as plain text.
TEST_F(DataFileFormat, AFirstKeyThatLooksLikeAUtf16MarkReadsBackAsItWas) {
    for (const std::string key : {"\xFF\xFEk", "\xFE\xFF"}) {
        DictDataFile file("data.dat");
        file.setString(key.c_str(), "1");
        ASSERT_TRUE(file.save(false));
        EXPECT_EQ(readBytes("data.dat"), MARK + key + "=1\n");
        EXPECT_EQ(loaded(readBytes("data.dat")), (Entries{{key, "1"}}));
    }
}

TEST_F(DataFileFormat, LaterDuplicateKeyWinsAndIsWrittenOnce) {
    writeBytes("data.dat", "badge=1\nxxxxx=0.5\nbadge=4\n");
    ASSERT_TRUE(file.load());
    EXPECT_EQ(file.getInt("badge"), 4);
    ASSERT_TRUE(file.save(true));
    EXPECT_EQ(readBytes("data.dat"), "badge=4\nxxxxx=0.5\n");
}

struct IntCase {
    const char* text;
    std::int32_t expected;
};

TEST_F(DataFileFormat, GetIntReadsTheLeadingIntegerOrAbsent) {
    constexpr std::int32_t ABSENT = DictDataFile::ABSENT_INT;
    const IntCase cases[] = {
        {"12abc", 12},
        {"3.7", 3},
        {"0.150000", 0},
        {" \t-5", -5},
        {"+7", 7},
        {"2147483647", std::numeric_limits<std::int32_t>::max()},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", ABSENT},
        {"-2147483649", ABSENT},
        {"99999999999999999999", ABSENT},
        {"abc", ABSENT},
        {"-", ABSENT},
        {"+-5", ABSENT},
        {"--5", ABSENT},
    };
    for (const IntCase& c : cases) {
        file.setString("k", c.text);
        EXPECT_EQ(file.getInt("k"), c.expected) << c.text;
    }
    EXPECT_EQ(file.getInt("missing"), ABSENT);
}

struct FloatCase {
    const char* text;
    float expected;
};

TEST_F(DataFileFormat, GetFloatReadsTheLeadingFiniteFloatOrAbsent) {
    constexpr float ABSENT = DictDataFile::ABSENT_FLOAT;
    const FloatCase cases[] = {
        {"0.5xyz", 0.5f},
        {"3", 3.0f},
        {" \n+1e3", 1000.0f},
        {"-.25", -0.25f},
        {"0x10", 0.0f},
        {"1e39", ABSENT},
        {"-1e39", ABSENT},
        {"1e-50", ABSENT},
        {"abc", ABSENT},
        {".", ABSENT},
        {"+-1", ABSENT},
        // Infinities and not-a-number, in the spellings a reader of numbers takes.
        {"inf", ABSENT},
        {"-Infinity", ABSENT},
        {"+INF", ABSENT},
        {"infxyz", ABSENT},
        {"nan", ABSENT},
        {"NaN", ABSENT},
        {"-nan", ABSENT},
        {"nan(1)", ABSENT},
    };
    for (const FloatCase& c : cases) {
        file.setString("k", c.text);
        EXPECT_EQ(file.getFloat("k"), c.expected) << c.text;
    }
    EXPECT_EQ(file.getFloat("missing"), ABSENT);
}

}  // namespace
