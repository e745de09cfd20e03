// SPDX-License-Identifier: GPL-2.0-or-later
// Defaults, then the --config line (warnings only), then the strictly
// checked flags, for a picture of a given size.
#include "levels/settings.h"

#include <gtest/gtest.h>

using kelvra::cli::BorderOffsets;
using kelvra::cli::ConfigValues;
using kelvra::cli::CorrectionSettings;
using kelvra::cli::resolve_settings;
using kelvra::cli::SettingFlags;

namespace {

struct Resolved {
    std::optional<CorrectionSettings> settings;
    std::vector<std::string> warnings;
    std::string error;
};

// A 64 x 48 picture: offsets UP/DOWN 1..33, LEFT/RIGHT 1..49, UP + DOWN at
// most 38, LEFT + RIGHT at most 54.
Resolved resolve(const std::optional<ConfigValues>& config, const SettingFlags& flags, int w = 64,
                 int h = 48) {
    Resolved r;
    r.settings = resolve_settings(config, flags, w, h, r.warnings, r.error);
    return r;
}

SettingFlags border(int32_t up, int32_t left, int32_t right, int32_t down) {
    SettingFlags f;
    f.border = BorderOffsets{up, left, right, down};
    return f;
}

TEST(SettingsDefaults, AreAFreshInstancesOnes) {
    const Resolved r = resolve(std::nullopt, {});
    ASSERT_TRUE(r.settings);
    const CorrectionSettings& s = *r.settings;
    EXPECT_EQ(std::vector<int32_t>({s.level, s.soft, s.border, s.nup, s.nleft, s.nright, s.ndown, s.disable,
                                    s.show_histogram}),
              std::vector<int32_t>({25, 0, 0, 1, 1, 1, 1, 0, 0}));
    EXPECT_EQ(s.freeze_after, 0);
    EXPECT_TRUE(r.warnings.empty());
}

TEST(SettingsCorrection, IsBalanceUnlessThePluginsOwnSettingsAreAskedFor) {
    using kelvra::Correction;
    SettingFlags plugin, level, soft, no_soft, balance = border(2, 2, 2, 2);
    plugin.plugin = true;
    level.level = 40;
    soft.soft = true;
    no_soft.soft = false;
    balance.disable = balance.histogram = true;
    balance.freeze_after = 3;
    EXPECT_EQ(resolve(std::nullopt, {}).settings->correction, Correction::kBalance);
    EXPECT_EQ(resolve(std::nullopt, balance).settings->correction, Correction::kBalance);
    for (const SettingFlags& f : {plugin, level, soft, no_soft})
        EXPECT_EQ(resolve(std::nullopt, f).settings->correction, Correction::kPlugin);
    EXPECT_EQ(resolve(ConfigValues{25, 0, 0, 1, 1, 1, 1}, {}).settings->correction, Correction::kPlugin);
}

TEST(SettingsConfigLine, IsTakenAsThePluginTakesIt) {
    const Resolved r = resolve(ConfigValues{60, 1, 1, 3, 4, 5, 6}, {});
    ASSERT_TRUE(r.settings);
    EXPECT_EQ(std::vector<int32_t>({r.settings->level, r.settings->soft, r.settings->border, r.settings->nup,
                                    r.settings->nleft, r.settings->nright, r.settings->ndown}),
              std::vector<int32_t>({60, 1, 1, 3, 4, 5, 6}));
    EXPECT_TRUE(r.warnings.empty());
}

TEST(SettingsConfigLine, OutOfDialogValuesWarnButStay) {
    const Resolved r = resolve(ConfigValues{0, 2, 1, 34, 0, 50, 1}, {});
    ASSERT_TRUE(r.settings);
    EXPECT_EQ(r.settings->level, 0);
    EXPECT_EQ(r.settings->soft, 2);
    EXPECT_EQ(r.settings->nup, 34);
    const std::string all = [&] {
        std::string s;
        for (const auto& w : r.warnings) s += w + "\n";
        return s;
    }();
    for (const char* what : {"level 0 lies outside 1..500", "soft 2", "UP 34 lies outside 1..33",
                             "LEFT 0 lies outside 1..49", "RIGHT 50 lies outside 1..49"}) {
        EXPECT_NE(all.find(what), std::string::npos) << what << " in\n" << all;
    }
}

TEST(SettingsConfigLine, PairsThatLeaveTooLittleWarn) {
    EXPECT_TRUE(
        resolve(ConfigValues{25, 0, 1, 19, 27, 27, 19}, {}).warnings.empty());  // 38 and 54: the limits
    const Resolved r = resolve(ConfigValues{25, 0, 1, 19, 27, 28, 20}, {});
    ASSERT_EQ(r.warnings.size(), 2u);
    EXPECT_NE(r.warnings[0].find("UP + DOWN = 39"), std::string::npos);
    EXPECT_NE(r.warnings[1].find("LEFT + RIGHT = 55"), std::string::npos);
}

TEST(SettingsFlags, OverrideTheConfigLinesFields) {
    SettingFlags f = border(2, 3, 4, 5);
    f.level = 100;
    f.soft = false;
    f.disable = true;
    f.histogram = true;
    f.freeze_after = 7;
    const Resolved r = resolve(ConfigValues{60, 1, 0, 9, 9, 9, 9}, f);
    ASSERT_TRUE(r.settings) << r.error;
    const CorrectionSettings& s = *r.settings;
    EXPECT_EQ(std::vector<int32_t>({s.level, s.soft, s.border, s.nup, s.nleft, s.nright, s.ndown, s.disable,
                                    s.show_histogram}),
              std::vector<int32_t>({100, 0, 1, 2, 3, 4, 5, 1, 1}));
    EXPECT_EQ(s.freeze_after, 7);

    SettingFlags off;
    off.no_border = true;
    EXPECT_EQ(resolve(ConfigValues{60, 1, 1, 9, 9, 9, 9}, off).settings->border, 0);
}

TEST(SettingsFlags, AcceptTheDialogsLimits) {
    for (int32_t level : {1, 500}) {
        SettingFlags f;
        f.level = level;
        EXPECT_TRUE(resolve(std::nullopt, f).settings) << level;
    }
    EXPECT_TRUE(resolve(std::nullopt, border(33, 5, 49, 5)).settings);
    EXPECT_TRUE(resolve(std::nullopt, border(19, 27, 27, 19)).settings);
}

TEST(SettingsFlags, RejectValuesTheDialogWouldNotAllow) {
    const std::vector<std::pair<SettingFlags, std::string>> cases = {
        {[] {
             SettingFlags f;
             f.level = 0;
             return f;
         }(),
         "--level: level 0 lies outside 1..500"},
        {[] {
             SettingFlags f;
             f.level = 501;
             return f;
         }(),
         "--level: level 501 lies outside 1..500"},
        {border(0, 1, 1, 1), "--border: UP 0 lies outside 1..33 for a picture of 48 rows"},
        {border(1, 1, 1, 34), "--border: DOWN 34 lies outside 1..33"},
        {border(1, 50, 1, 1), "--border: LEFT 50 lies outside 1..49 for a picture of 64 columns"},
        {border(20, 1, 1, 19), "--border: UP + DOWN = 39 leaves fewer than 10 of 48 rows"},
        {border(1, 27, 28, 1), "--border: LEFT + RIGHT = 55 leaves fewer than 10 of 64 columns"},
        {[] {
             SettingFlags f;
             f.freeze_after = 0;
             return f;
         }(),
         "--freeze-after"},
    };
    for (const auto& [flags, message] : cases) {
        const Resolved r = resolve(std::nullopt, flags);
        EXPECT_FALSE(r.settings) << message;
        EXPECT_EQ(r.error.substr(0, message.size()), message);
    }
}

TEST(SettingsFlags, TinyPicturesAllowOnlyWhatFits) {
    // 12 rows: sliders reach 1 at most and the pair must leave 10 rows.
    EXPECT_TRUE(resolve(std::nullopt, border(1, 1, 1, 1), 64, 12).settings);
    EXPECT_FALSE(resolve(std::nullopt, border(1, 1, 1, 1), 64, 11).settings);
}

}  // namespace
