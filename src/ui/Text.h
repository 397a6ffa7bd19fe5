#pragma once

#include <QString>

#include <filesystem>
#include <string>
#include <string_view>

// The game's files are single-byte text in the Western Windows code page.
// These map those bytes to Qt text and back; every byte value survives the
// round trip, so a value shown and written back unchanged stays unchanged.
namespace fenwake::ui {

QString ToQ(std::string_view bytes);

// Characters the code page cannot hold become '?', as the platform's own
// conversion does.
std::string FromQ(const QString& text);

// A folder or file as the platform names it, whatever its narrow encoding.
QString PathText(const std::filesystem::path& path);

} // namespace fenwake::ui
