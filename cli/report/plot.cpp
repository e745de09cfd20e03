// SPDX-License-Identifier: GPL-2.0-or-later
#include "report/plot.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "process/process.h"

namespace kelvra::cli {
namespace {

// A gnuplot string literal: inside single quotes only the quote is special.
std::string quoted(const std::string& text) {
    std::string q = "'";
    for (const char c : text) q += c == '\'' ? std::string("''") : std::string(1, c);
    return q + "'";
}

// A private folder for the data and the script, gone with its holder.
class ScratchFolder {
public:
    ScratchFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kelvra-plot-XXXXXX";
        if (mkdtemp(pattern.data())) path_ = pattern;
    }
    ~ScratchFolder() {
        if (path_.empty()) return;
        unlink((path_ + "/levels.dat").c_str());
        unlink((path_ + "/levels.gp").c_str());
        rmdir(path_.c_str());
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The key's entry for the grey lines at shot starts.
constexpr const char* kShotStartKey = ", NaN with lines lc rgb '#999999' dt 2 title 'shot start'";

const char* const kColour[3] = {"#d62728", "#2ca02c", "#1f77b4"};
const char* const kChannel[3] = {"R", "G", "B"};

// Three channels from `first_column` on; with `own_column`, the frame's own
// levels beside them as dotted lines: what the frame alone would have got.
std::string plot_command(const std::string& data_path, int first_column, int own_column = 0) {
    std::string s = "plot ";
    for (int c = 0; c < 3; ++c) {
        s += (c ? ", '' " : quoted(data_path) + " ") + "using 1:" + std::to_string(first_column + c) +
             " with lines lw 2 lc rgb '" + kColour[c] + "' title '" + kChannel[c] + "'";
    }
    for (int c = 0; c < 3 && own_column; ++c) {
        s += ", '' using 1:" + std::to_string(own_column + c) + " with lines dt 3 lc rgb '" + kColour[c] +
             "' " + (c == 2 ? "title 'own'" : "notitle");
    }
    return s + kShotStartKey + "\n";
}

// Each frame's cut score as a bar, and the line a frame must pass to be
// taken at the run's sensitivity.
std::string score_panel(const std::string& data_path, std::optional<int> sensitivity) {
    std::string s = "set ylabel 'cut score'\nset yrange [0:*]\n";
    std::string keys = kShotStartKey;
    if (sensitivity) {
        const std::string at = std::to_string(100 - *sensitivity);
        keys += ", " + at + " with lines lc rgb '#d62728' title 'cut above " + at + " (sensitivity " +
                std::to_string(*sensitivity) + ")'";
    }
    return s + "plot " + quoted(data_path) + " using 1:8 with impulses lw 2 lc rgb '#555555' title 'score'" +
           keys + "\n";
}

// Highs above, lows below, each on its own scale, so a change of one level
// shows, each with the frame's own levels; under them balance's light and
// the cut scores, where there are.
std::string script(const std::vector<FrameRecord>& records, const std::string& title,
                   std::optional<int> sensitivity, const std::string& data_path,
                   const std::string& png_path) {
    const bool scored = std::any_of(records.begin(), records.end(),
                                    [](const FrameRecord& r) { return r.cut_score.has_value(); });
    const bool lit = !records.empty() && records[0].report.correction == Correction::kBalance;
    const int panels = 2 + scored + lit;
    std::string s =
        "set terminal pngcairo size 1000," + std::to_string(360 + 200 * (panels - 1)) + " font ',10'\n";
    s += "set output " + quoted(png_path) + "\n";
    s += "set grid ytics\nset key outside right\nset lmargin 10\nset rmargin 16\n";
    if (records.size() > 1) s += "set xrange [1:" + std::to_string(records.size()) + "]\n";
    for (size_t i = 1; i < records.size(); ++i) {
        if (records[i].shot_start) {
            s += "set arrow from " + std::to_string(i + 1) + ", graph 0 to " + std::to_string(i + 1) +
                 ", graph 1 nohead lc rgb '#999999' dt 2\n";
        }
    }
    s += "set multiplot layout " + std::to_string(panels) + ",1 title " + quoted(title) + " noenhanced\n";
    s += "set ylabel 'applied high'\n" + plot_command(data_path, 5, 12);
    // The frame numbers under the lowest panel only.
    const auto last = [&](int panel) { return panel == panels ? "set xlabel 'frame'\n" : ""; };
    s += "set ylabel 'applied low'\n" + std::string(last(2)) + plot_command(data_path, 2, 9);
    if (lit) s += "set ylabel 'light (gain)'\n" + std::string(last(3)) + plot_command(data_path, 15);
    if (scored) s += last(panels) + score_panel(data_path, sensitivity);
    return s + "unset multiplot\n";
}

}  // namespace

std::string find_gnuplot(std::string& error) {
    const std::string path = find_program("gnuplot");
    if (path.empty())
        error = "--plot needs gnuplot, which is not installed (Debian: apt install gnuplot-nox)";
    return path;
}

bool write_plot(const std::string& gnuplot, const std::vector<FrameRecord>& records, const std::string& title,
                std::optional<int> sensitivity, const std::string& png_path, std::string& error) {
    ScratchFolder folder;
    if (folder.path().empty()) {
        error = "cannot make a temporary folder for the plot";
        return false;
    }
    const std::string data_path = folder.path() + "/levels.dat", script_path = folder.path() + "/levels.gp";
    std::ofstream data(data_path);
    for (size_t i = 0; i < records.size(); ++i) {
        data << i + 1;
        const FrameReport& r = records[i].report;
        for (const int32_t v : r.applied.v) data << ' ' << v;
        if (records[i].cut_score)
            data << ' ' << *records[i].cut_score;
        else
            data << " NaN";
        for (const int32_t v : r.own.v) data << ' ' << v;
        for (const double gain : r.light.gain) data << ' ' << gain;
        data << '\n';
    }
    std::ofstream(script_path) << script(records, title, sensitivity, data_path, png_path);
    data.close();
    if (!data) {
        error = "cannot write the plot's data to " + folder.path();
        return false;
    }
    if (!run_capture({gnuplot, script_path}, error)) {
        error = "gnuplot could not draw \"" + png_path + "\": " + error;
        return false;
    }
    return true;
}

}  // namespace kelvra::cli
