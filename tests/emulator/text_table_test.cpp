#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/text_table.h"

namespace {

// Texts of every length up to 40 that share all but one byte, at every place: the table's
// quick hash reads only some of the bytes, its comparison must read them all.
std::vector<std::string> nearTwins() {
    std::vector<std::string> texts;
    for (std::size_t length = 0; length <= 40; ++length) {
        const std::string base(length, 'a');
        texts.push_back(base);
        for (std::size_t at = 0; at < length; ++at) {
            std::string twin = base;
            twin[at] = 'b';
            texts.push_back(twin);
        }
    }
    return texts;
}

TEST(TextTable, TellsApartTextsThatDifferInOneByte) {
    const std::vector<std::string> texts = nearTwins();
    TextTable table;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        table.add(texts[i], static_cast<std::uint32_t>(i));
    }

    ASSERT_EQ(table.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const std::uint32_t* found = table.find(texts[i]);
        ASSERT_NE(found, nullptr) << '"' << texts[i] << '"';
        EXPECT_EQ(*found, i) << '"' << texts[i] << '"';
    }
}

TEST(TextTable, FindsNoTextItWasNotGiven) {
    TextTable table;
    table.add("A_M_M_VALTOWNFOLK_01", 1);
    table.add("A_M_M_VALTOWNFOLK_01x", 2);

    EXPECT_EQ(table.find("A_M_M_VALTOWNFOLK_0"), nullptr);
    EXPECT_EQ(table.find("A_M_M_VALTOWNFOLK_02"), nullptr);
    EXPECT_EQ(table.find("a_m_m_valtownfolk_01"), nullptr);
    EXPECT_EQ(table.find(""), nullptr);
}

TEST(TextTable, TextAddedAgainKeepsItsFirstNumber) {
    TextTable table;
    table.add("PLAYER", 7);
    table.add("PLAYER", 8);

    EXPECT_EQ(table.size(), 1u);
    EXPECT_EQ(*table.find("PLAYER"), 7u);
}

}  // namespace
