#include "TempDir.h"
#include "config/ConfigFile.h"
#include "rules/GraphicsSettings.h"
#include "rules/PlayerSettings.h"
#include "rules/QualityPresets.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace fenwake {
namespace {

using presets::Details;

class PlayerSettingsRead : public test::TempDirTest {
protected:
    player::Settings Load() { return player::Read(ConfigFile(".\\User.ini")); }
};

TEST_F(PlayerSettingsRead, MissingFileGivesTheDefaults)
{
    const player::Settings s = Load();
    EXPECT_EQ(s.name, "Unknown player");
    EXPECT_EQ(player::SpeedIndex(s.speed), 1);
    EXPECT_TRUE(s.helpMessages);
}

TEST_F(PlayerSettingsRead, NumbersFollowTheProfileSyntax)
{
    Put("user.ini", "[DefaultPlayer]\r\nName =  Bob the Builder  \r\n"
                    "[Engine.Player]\r\nConfiguredInternetSpeed=0x2710\r\n"
                    "[DeusEx.DeusExPlayer]\r\nbHelpMessages=0\r\n");
    player::Settings s = Load();
    EXPECT_EQ(s.name, "Bob the Builder");
    EXPECT_EQ(player::SpeedIndex(s.speed), 4); // DSL (10000)
    EXPECT_FALSE(s.helpMessages);

    // The words the game writes are not numbers: both read as the default.
    for (const char* word : {"True", "False"}) {
        Put("User.ini", std::string("[DeusEx.DeusExPlayer]\r\nbHelpMessages=") + word +
                            "\r\n[Engine.Player]\r\nConfiguredInternetSpeed=fast\r\n");
        s = Load();
        EXPECT_TRUE(s.helpMessages) << word;
        EXPECT_EQ(s.speed, 2600) << word;
    }
}

TEST(PlayerSpeedTable, OnlyTheSevenStoredValuesSelectAnItem)
{
    EXPECT_EQ(player::SpeedIndex(1600), 0);
    EXPECT_EQ(player::SpeedIndex(20000), 6);
    EXPECT_EQ(player::kSpeedClasses[6].text, "T1/LAN (20 000)");
    for (int outside : {0, 4000, 15001, -1600, 2147483647}) EXPECT_FALSE(player::SpeedIndex(outside)) << outside;
}

class GraphicsSettingsRead : public test::TempDirTest {
protected:
    graphics::Settings Load() { return graphics::Read(ConfigFile(".\\DeusEx.ini")); }
};

TEST_F(GraphicsSettingsRead, MissingFileGivesTheDefaults)
{
    const graphics::Settings s = Load();
    EXPECT_EQ(s.skinDetail, "High");
    EXPECT_EQ(s.textureDetail, "High");
    EXPECT_TRUE(s.decals);
    EXPECT_TRUE(s.detailTextures);
    EXPECT_FALSE(s.screenFlashes);
    EXPECT_TRUE(s.fullscreen);
    EXPECT_EQ(s.brightness, "0.0");
    EXPECT_FALSE(graphics::BrightnessPosition(s.brightness));
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 480);
}

TEST_F(GraphicsSettingsRead, WordsReadAsTheDefaultAndNumbersAsFlags)
{
    Put("DeusEx.ini", "[WinDrv.WindowsClient]\r\nDecals=False\r\nScreenFlashes=True\r\nStartupFullscreen=False\r\n"
                      "[OpenGLDrv.OpenGLRenderDevice]\r\nDetailTextures=False\r\n");
    graphics::Settings s = Load();
    EXPECT_TRUE(s.decals);
    EXPECT_EQ(graphics::DecalsIndex(s.decals), graphics::kDecalsUse);
    EXPECT_TRUE(s.detailTextures);
    EXPECT_FALSE(s.screenFlashes);
    EXPECT_TRUE(s.fullscreen);

    Put("DeusEx.ini", "[WinDrv.WindowsClient]\r\nDecals=0\r\nScreenFlashes=1\r\nStartupFullscreen=0\r\n"
                      "FullscreenViewportX= 1920 \r\nFullscreenViewportY=1080.0\r\nBrightness=  0.300000\r\n"
                      "[OpenGLDrv.OpenGLRenderDevice]\r\nDetailTextures=0\r\n");
    s = Load();
    EXPECT_EQ(graphics::DecalsIndex(s.decals), graphics::kDecalsDontUse);
    EXPECT_FALSE(s.detailTextures);
    EXPECT_TRUE(s.screenFlashes);
    EXPECT_FALSE(s.fullscreen);
    EXPECT_EQ(s.width, 1920);
    EXPECT_EQ(s.height, 480); // a decimal point is not a number
    EXPECT_EQ(graphics::BrightnessPosition(s.brightness), 6);
}

TEST_F(GraphicsSettingsRead, DetailTexturesComeFromTheRenderDeviceSection)
{
    Put("DeusEx.ini", "[WinDrv.WindowsClient]\r\nDetailTextures=0\r\n"
                      "[D3DDrv.D3DRenderDevice]\r\nDetailTextures=0\r\n");
    EXPECT_TRUE(Load().detailTextures);
}

TEST(GraphicsMapping, DetailTextsAreMatchedExactly)
{
    EXPECT_EQ(graphics::SkinIndex("Low"), 0);
    EXPECT_EQ(graphics::SkinIndex("High"), 1);
    EXPECT_FALSE(graphics::SkinIndex("Medium"));
    EXPECT_FALSE(graphics::SkinIndex("high"));
    EXPECT_FALSE(graphics::SkinIndex("High "));
    EXPECT_EQ(graphics::WorldIndex("Medium"), 1);
    EXPECT_EQ(graphics::WorldIndex("High"), 2);
    EXPECT_FALSE(graphics::WorldIndex("LOW"));
    EXPECT_FALSE(graphics::WorldIndex(""));
}

TEST(GraphicsMapping, BrightnessTableCoversEveryPositionButFourAndFive)
{
    std::set<int> produced;
    for (int tenth = 0; tenth <= 200; ++tenth) {
        char text[16];
        std::snprintf(text, sizeof text, "%.6f", tenth / 200.0);
        if (const auto p = graphics::BrightnessPosition(text)) {
            EXPECT_TRUE(produced.insert(*p).second) << text;
            EXPECT_EQ(graphics::BrightnessText(*p), std::string_view(text));
        }
    }
    std::set<int> expected;
    for (int p = 0; p <= graphics::kGammaMax; ++p) {
        if (p != 4 && p != 5) expected.insert(p);
    }
    EXPECT_EQ(produced, expected);

    EXPECT_EQ(graphics::BrightnessPosition("0.250000"), 3);
    EXPECT_EQ(graphics::BrightnessPosition("0.300000"), 6);
    EXPECT_EQ(graphics::BrightnessPosition("1.000000"), 20);
    for (const char* other : {"0.25", "0.3", "0.0", "0.500000 ", "0,500000", "1.0000000", "0.050000", ""})
        EXPECT_FALSE(graphics::BrightnessPosition(other)) << other;
    EXPECT_FALSE(graphics::BrightnessText(4));
    EXPECT_FALSE(graphics::BrightnessText(5));
    EXPECT_FALSE(graphics::BrightnessText(21));
}

TEST(QualityPresets, ApplyingSetsDecalsSkinAndWorld)
{
    EXPECT_EQ(presets::Apply(presets::kLow), (Details{0, 0, graphics::kDecalsDontUse}));
    EXPECT_EQ(presets::Apply(presets::kMedium), (Details{1, 1, graphics::kDecalsUse}));
    EXPECT_EQ(presets::Apply(presets::kHigh), (Details{1, 2, graphics::kDecalsUse}));
    EXPECT_FALSE(presets::Apply(presets::kCustom));
    EXPECT_FALSE(presets::Apply(graphics::kNone));
    EXPECT_EQ(presets::kItems[3], "Custom settings ");
}

TEST(QualityPresets, RecognitionRowsAndTheirMessages)
{
    const auto high = presets::Recognise({1, 2, 0}, false);
    EXPECT_EQ(high.choice, presets::kHigh);
    EXPECT_EQ(high.message, "High");
    const auto medium = presets::Recognise({1, 1, 1}, true);
    EXPECT_EQ(medium.choice, presets::kMedium);
    EXPECT_EQ(medium.message, "Med");
    const auto low = presets::Recognise({0, 0, 1}, true);
    EXPECT_EQ(low.choice, presets::kLow);
    EXPECT_EQ(low.message, "low");

    // Each row needs its detail textures state; nothing selected matches nothing.
    for (bool detail : {true, false}) {
        for (const Details& d : {Details{-1, -1, -1}, Details{-1, 2, 0}, Details{1, 2, -1}, Details{0, 2, 0}}) {
            const auto none = presets::Recognise(d, detail);
            EXPECT_EQ(none.choice, presets::kCustom);
            EXPECT_TRUE(none.message.empty());
        }
    }
    EXPECT_EQ(presets::Recognise({1, 2, 0}, true).choice, presets::kCustom);
    EXPECT_EQ(presets::Recognise({0, 0, 1}, false).choice, presets::kCustom);
    EXPECT_EQ(presets::Recognise({1, 1, 1}, false).choice, presets::kCustom);
}

TEST(QualityPresets, OnlyHighAndLowSurviveTheirOwnApplication)
{
    for (bool detail : {true, false}) {
        const auto medium = presets::Recognise(*presets::Apply(presets::kMedium), detail);
        EXPECT_EQ(medium.choice, presets::kCustom) << detail;
        EXPECT_TRUE(medium.message.empty());
    }
    EXPECT_EQ(presets::Recognise(*presets::Apply(presets::kHigh), false).choice, presets::kHigh);
    EXPECT_EQ(presets::Recognise(*presets::Apply(presets::kHigh), true).choice, presets::kCustom);
    EXPECT_EQ(presets::Recognise(*presets::Apply(presets::kLow), true).choice, presets::kLow);
    EXPECT_EQ(presets::Recognise(*presets::Apply(presets::kLow), false).choice, presets::kCustom);
}

// Players' own files: every value must load, and loading must not touch them.
class RealWorldSettings : public test::TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        if (!std::filesystem::is_directory(FENWAKE_REAL_WORLD_DIR)) GTEST_SKIP() << "no real-world files";
    }
    static std::string Fixture(const std::filesystem::path& p)
    {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
};

TEST_F(RealWorldSettings, GraphicsFilesLoadCompletely)
{
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FENWAKE_REAL_WORLD_DIR)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("_DeusEx.ini") && !name.ends_with("_deusex.ini")) continue;
        ++seen;
        const std::string bytes = Fixture(entry.path());
        Put(name.ends_with("_deusex.ini") ? "deusex.ini" : "DeusEx.ini", bytes);
        const graphics::Settings s = graphics::Read(ConfigFile(".\\DeusEx.ini"));
        EXPECT_TRUE(graphics::SkinIndex(s.skinDetail)) << name << ": " << s.skinDetail;
        EXPECT_TRUE(graphics::WorldIndex(s.textureDetail)) << name << ": " << s.textureDetail;
        EXPECT_TRUE(graphics::BrightnessPosition(s.brightness)) << name << ": " << s.brightness;
        EXPECT_GE(s.width, 640) << name;
        EXPECT_GE(s.height, 480) << name;
        // The game writes True/False, which read as the defaults: decals on,
        // detail textures on, so no preset row can match.
        EXPECT_TRUE(s.decals) << name;
        EXPECT_TRUE(s.detailTextures) << name;
        const Details shown{*graphics::SkinIndex(s.skinDetail), *graphics::WorldIndex(s.textureDetail),
                            graphics::DecalsIndex(s.decals)};
        EXPECT_EQ(presets::Recognise(shown, s.detailTextures).choice, presets::kCustom) << name;
        EXPECT_EQ(Get(name.ends_with("_deusex.ini") ? "deusex.ini" : "DeusEx.ini"), bytes) << name;
        std::filesystem::remove(name.ends_with("_deusex.ini") ? "deusex.ini" : "DeusEx.ini");
    }
    EXPECT_GT(seen, 0);
}

TEST_F(RealWorldSettings, PlayerFilesLoadTheirNames)
{
    int seen = 0;
    for (const auto& entry : std::filesystem::directory_iterator(FENWAKE_REAL_WORLD_DIR)) {
        const std::string name = entry.path().filename().string();
        if (!name.ends_with("_User.ini")) continue;
        ++seen;
        const std::string bytes = Fixture(entry.path());
        Put("User.ini", bytes);
        const player::Settings s = player::Read(ConfigFile(".\\User.ini"));
        EXPECT_FALSE(s.name.empty()) << name;
        EXPECT_NE(s.name, "Unknown player") << name;
        EXPECT_TRUE(player::SpeedIndex(s.speed)) << name << ": " << s.speed;
        EXPECT_TRUE(s.helpMessages) << name;
        EXPECT_EQ(Get("User.ini"), bytes) << name;
    }
    EXPECT_GT(seen, 0);
}

} // namespace
} // namespace fenwake
