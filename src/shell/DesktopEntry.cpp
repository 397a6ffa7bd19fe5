#include "shell/DesktopEntry.h"

namespace fenwake::shell {

std::string EscapeValue(std::string_view value)
{
    std::string out;
    out.reserve(value.size() + 8);
    for (std::size_t i = 0; i < value.size(); ++i) {
        switch (const char c = value[i]) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\r':
            out += "\\r";
            break;
        case ' ':
            // Readers drop the blanks after '='.
            out += i == 0 ? "\\s" : " ";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string QuoteExecArgument(std::string_view argument)
{
    std::string out = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        // A lone '%' would start a field code.
        if (c == '%') out += '%';
        out += c;
    }
    out += '"';
    return out;
}

std::vector<std::string> SplitArguments(std::string_view s)
{
    std::vector<std::string> args;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument) args.push_back(std::move(current));
            current.clear();
            inArgument = false;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            std::size_t end = i;
            while (end < s.size() && s[end] == '\\') ++end;
            const std::size_t count = end - i;
            if (end < s.size() && s[end] == '"') {
                // 2n backslashes keep n and let the quote toggle; 2n+1 escape it.
                current.append(count / 2, '\\');
                if (count % 2 == 1) {
                    current += '"';
                    i = end;
                } else {
                    i = end - 1;
                }
            } else {
                current.append(count, '\\');
                i = end - 1;
            }
            continue;
        }
        if (c == '"') {
            if (quoted && i + 1 < s.size() && s[i + 1] == '"') {
                current += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
            continue;
        }
        current += c;
    }
    if (inArgument) args.push_back(std::move(current));
    return args;
}

std::string DesktopEntry(const ShellLink& link)
{
    std::string exec = QuoteExecArgument(link.target);
    for (const auto& arg : SplitArguments(link.arguments)) exec += " " + QuoteExecArgument(arg);

    std::string out = "[Desktop Entry]\n"
                      "Type=Application\n";
    out += "Name=" + EscapeValue(link.name) + "\n";
    out += "Exec=" + EscapeValue(exec) + "\n";
    if (!link.workingDirectory.empty()) out += "Path=" + EscapeValue(link.workingDirectory) + "\n";
    out += "Terminal=false\n";
    return out;
}

} // namespace fenwake::shell
