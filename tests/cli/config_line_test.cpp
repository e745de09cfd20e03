// SPDX-License-Identifier: GPL-2.0-or-later
// The plug-in's script line as --config takes it.
#include "levels/config_line.h"

#include <gtest/gtest.h>

using kelvra::cli::ConfigValues;
using kelvra::cli::parse_config_line;

namespace {

std::vector<int32_t> values(const ConfigValues& c) {
    return {c.level, c.soft, c.border, c.nup, c.nleft, c.nright, c.ndown};
}

std::vector<int32_t> parsed(const std::string& line) {
    std::string error;
    const auto c = parse_config_line(line, error);
    EXPECT_TRUE(c) << line << ": " << error;
    return c ? values(*c) : std::vector<int32_t>{};
}

std::string rejected(const std::string& line) {
    std::string error;
    EXPECT_FALSE(parse_config_line(line, error)) << line;
    return error;
}

TEST(ConfigLineAccepts, TheLineTheHostSaves) {
    EXPECT_EQ(parsed("Config(25,1,1,20,30,30,20)"), (std::vector<int32_t>{25, 1, 1, 20, 30, 30, 20}));
    EXPECT_EQ(parsed("Config(25,0,0,1,1,1,1)"), (std::vector<int32_t>{25, 0, 0, 1, 1, 1, 1}));
    EXPECT_EQ(parsed("VirtualDub.video.filters.instance[0].Config(500,1,1,20,30,30,20);"),
              (std::vector<int32_t>{500, 1, 1, 20, 30, 30, 20}));
    EXPECT_EQ(parsed("  VirtualDub.video.filters.instance[12].Config( 7 , 0 , 1 , 2 , 3 , 4 , 5 ) ;\n"),
              (std::vector<int32_t>{7, 0, 1, 2, 3, 4, 5}));
}

TEST(ConfigLineAccepts, AnyInt32AsThePluginStoresIt) {
    EXPECT_EQ(parsed("Config(-5,2,-1,0,-2147483648,2147483647,99999)"),
              (std::vector<int32_t>{-5, 2, -1, 0, INT32_MIN, INT32_MAX, 99999}));
}

TEST(ConfigLineRejects, AnotherMethodName) {
    EXPECT_NE(rejected("Konfig(25,0,0,1,1,1,1)").find("called Config"), std::string::npos);
    EXPECT_NE(rejected("config(25,0,0,1,1,1,1)").find("\"config\""), std::string::npos);
    EXPECT_NE(rejected("VirtualDub.video.filters.instance[x].Config(25,0,0,1,1,1,1)").find("called Config"),
              std::string::npos);
}

TEST(ConfigLineRejects, AnotherValueCount) {
    EXPECT_NE(rejected("Config(25,0,0,1,1,1)").find("got 6"), std::string::npos);
    EXPECT_NE(rejected("Config(25,0,0,1,1,1,1,1)").find("got 8"), std::string::npos);
    EXPECT_NE(rejected("Config()").find("got 0"), std::string::npos);
}

TEST(ConfigLineRejects, ValuesThatAreNotInt32) {
    EXPECT_NE(rejected("Config(2.5,0,0,1,1,1,1)").find("value 1 (\"2.5\")"), std::string::npos);
    EXPECT_NE(rejected("Config(25,0,0,1,1,1,x)").find("value 7"), std::string::npos);
    EXPECT_NE(rejected("Config(25,0,0,1,,1,1)").find("value 5"), std::string::npos);
    EXPECT_NE(rejected("Config(2147483648,0,0,1,1,1,1)").find("value 1"), std::string::npos);
    EXPECT_NE(rejected("Config(+3,0,0,1,1,1,1)").find("value 1"), std::string::npos);
    EXPECT_NE(rejected("Config(1e3,0,0,1,1,1,1)").find("value 1"), std::string::npos);
}

TEST(ConfigLineRejects, ABrokenShape) {
    for (const char* line :
         {"", "Config", "Config(25,0,0,1,1,1,1", "25,0,0,1,1,1,1", "Config(25,0,0,1,1,1,1)x"}) {
        EXPECT_FALSE(rejected(line).empty()) << line;
    }
}

}  // namespace
