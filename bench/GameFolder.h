#pragma once

#include "BenchPlatform.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace fenwake::bench {

// The keys of the binding page, as a player's file lists them.
// A table: several names to a line.
// clang-format off
inline constexpr std::array<std::string_view, 107> kKeyNames = {
    "LeftMouse", "RightMouse", "MiddleMouse", "MouseWheelUp", "MouseWheelDown", "Backspace", "Tab", "Enter",
    "Shift", "Ctrl", "Alt", "Pause", "CapsLock", "Escape", "Space", "PageUp", "PageDown", "End", "home", "Left",
    "Up", "Right", "Down", "Insert", "Delete", "0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D",
    "E", "F", "G", "H", "i", "j", "k", "L", "M", "N", "o", "P", "Q", "R", "S", "t", "U", "V", "W", "X", "Y", "Z",
    "NumPad0", "NumPad1", "NumPad2", "NumPad3", "NumPad4", "NumPad5", "NumPad6", "NumPad7", "NumPad8", "NumPad9",
    "GreyStar", "GreyPlus", "GreyMinus", "GreySlash", "NumPadPeriod", "F1", "F2", "F3", "F4", "F5", "F6", "F7",
    "F8", "F9", "F10", "F11", "F12", "NumLock", "ScrollLock", "Semicolon", "Equals", "Comma", "Minus", "period",
    "Slash", "Tilde", "LeftBracket", "Backslash", "RightBracket", "SingleQuote", "PrintScrn", "Select", "Print",
    "Execute", "Help", "Joy1"};
// clang-format on

inline constexpr std::array<std::string_view, 8> kCommands = {
    "ActivateBelt 1", "Fire", "AltFire", "StrafeLeft | onrelease ParseLeftClick",
    "MoveForward",    "Jump", "",        "ActivateBelt 0 | onrelease ParseLeftClick"};

// A User.ini shaped like a player's: the player sections first, the game's
// old input section, settings of other packages as filler, then the two
// binding sections with the aliases as the very last lines (the worst case
// for a reader that scans from the top). CR LF throughout.
inline std::string GameUserIni(std::size_t atLeast)
{
    const std::string_view eol = "\r\n";
    std::string out;
    auto line = [&](std::string_view a, std::string_view b = {}, std::string_view c = {}) {
        out.append(a).append(b).append(c).append(eol);
    };
    auto bindings = [&](std::string_view section) {
        line("[", section, "]");
        for (std::size_t i = 0; i < kKeyNames.size(); ++i) line(kKeyNames[i], "=", kCommands[i % kCommands.size()]);
    };
    auto aliases = [&] {
        for (int i = 0; i < 40; ++i) {
            const std::string n = std::to_string(i);
            line("Aliases[" + n + "]=(Command=\"Say Alias number ", n, "\",Alias=Alias" + n + ")");
        }
    };

    line("[DefaultPlayer]");
    line("Name=Player");
    line("Class=DeusEx.JCDentonMale");
    line("team=0");
    line("skin=0");
    line("Face=");
    line("");
    line("[Engine.Player]");
    line("ConfiguredInternetSpeed=10000");
    line("ConfiguredLanSpeed=20000");
    line("");
    line("[DeusEx.DeusExPlayer]");
    line("bHelpMessages=True");
    line("MouseSensitivity=3.000000");
    line("");
    bindings("Engine.Input");
    aliases();
    line("");

    std::string tail;
    std::swap(out, tail);
    bindings("Extension.Input");
    line("");
    bindings("Extension.InputExt");
    aliases();
    std::swap(out, tail);

    for (int s = 0; out.size() + tail.size() < atLeast; ++s) {
        line("[Package", std::to_string(s), ".Settings]");
        for (int k = 0; k < 16 && out.size() + tail.size() < atLeast; ++k)
            line("Setting" + std::to_string(k), "=", "SomeValue " + std::to_string(s * 16 + k) + " 0.500000");
        line("");
    }
    return out + tail;
}

// A fresh temporary directory that is the current directory while this
// lives, holding User.ini and, like a game's System folder, a few hundred
// other files.
class GameFolder {
public:
    explicit GameFolder(std::size_t userIniBytes, int otherFiles = 300)
    {
        old_ = std::filesystem::current_path();
        dir_ = MakeTempDir();
        std::filesystem::current_path(dir_);
        for (int i = 0; i < otherFiles; ++i) std::ofstream("Package" + std::to_string(i) + ".u");
        userIni_ = GameUserIni(userIniBytes);
        std::ofstream("User.ini", std::ios::binary) << userIni_;
    }
    ~GameFolder()
    {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::string& UserIni() const { return userIni_; }

private:
    std::filesystem::path old_;
    std::filesystem::path dir_;
    std::string userIni_;
};

} // namespace fenwake::bench
