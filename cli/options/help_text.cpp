// SPDX-License-Identifier: GPL-2.0-or-later
#include "options/help_text.h"

#include "options/option_table.h"

namespace kelvra::cli {
namespace {

constexpr size_t kHelpColumn = 24;
constexpr size_t kLineWidth = 100;

const char* section_title(Section section) {
    switch (section) {
        case Section::kSettings:
            return "Settings (flags win over the fields of --config):";
        case Section::kShots:
            return "Shots (see docs/shots.md; --steady needs a file, the others also work on --raw):";
        case Section::kOutput:
            return "Output:";
        case Section::kRun:
            break;
    }
    return "Running:";
}

// "--name VALUE", "--name[=VALUE]", "--name, -n".
std::string synopsis(const OptionRow& row) {
    std::string text = row.name;
    if (row.takes == Takes::kOptionalValue) {
        text += std::string("[=") + row.value + "]";
    } else if (row.value) {
        text += std::string(" ") + row.value;
    }
    if (row.alias) text += std::string(", ") + row.alias;
    return text;
}

// The help text in words wrapped at kLineWidth, continued under kHelpColumn.
void append_wrapped(std::string& out, const std::string& head, const std::string& help) {
    std::string line = "  " + head;
    // Two spaces at least: readers of --help such as help2man split there.
    line += line.size() + 2 <= kHelpColumn ? std::string(kHelpColumn - line.size(), ' ') : std::string("  ");
    const size_t first_word = line.size();
    size_t at = 0;
    while (at < help.size()) {
        size_t end = help.find(' ', at);
        if (end == std::string::npos) end = help.size();
        const std::string word = help.substr(at, end - at);
        if (line.size() > first_word && line.size() + 1 + word.size() > kLineWidth) {
            out += line + "\n";
            line = std::string(kHelpColumn, ' ');
        } else if (line.size() > first_word) {
            line += ' ';
        }
        line += word;
        at = end + 1;
    }
    out += line + "\n";
}

}  // namespace

std::string help_text() {
    std::string out =
        "Usage: kelvra IN OUT [options]\n"
        "  or:  kelvra IN... --out-dir DIR [options]\n"
        "  or:  kelvra --raw WxH - - [options]\n"
        "  or:  kelvra demo [FOLDER]\n"
        "Automatic white balance. By default balance: each channel's white and black brought to those\n"
        "of the picture's neutral white and black, so a cast of gains or lifted blacks goes and the\n"
        "contrast stays; over a video it follows the light of each shot, so things passing through do\n"
        "not move the levels; --plugin gives the correction of the kelvra.vdf plug-in instead, bit for\n"
        "bit.\n"
        "The first form corrects a video file or an image; the second corrects many into one folder,\n"
        "several at once; --raw corrects raw BGRA frames from standard input to standard output; demo\n"
        "makes a clip with colour casts and corrects it (default folder out/demo).\n";
    for (const Section section : {Section::kSettings, Section::kShots, Section::kOutput, Section::kRun}) {
        out += std::string("\n") + section_title(section) + "\n";
        for (const OptionRow& row : option_table()) {
            if (row.section == section) append_wrapped(out, synopsis(row), row.help);
        }
    }
    return out;
}

}  // namespace kelvra::cli
