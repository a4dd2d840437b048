// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How hard a source's questions are, by their readers' estimates (the
// "# Becslés:" lines: the share of players who would answer right), and
// whether a graded series of sources, one file per level, climbs as it
// should.
//
// A question's estimate is the mean of its readers' percents. A series'
// questions are placed by rank: sorted by estimate, easiest first, and cut
// into consecutive groups the sizes of the files' estimated questions, level
// by level; the group a question falls in is its estimated level (between
// equal estimates, the level nearest its own counts).

#include <string>
#include <string_view>
#include <vector>

#include "questions/source.hpp"

namespace questions {

double mean_estimate(const std::vector<int>& estimates);

// The spread of a source's estimates, over its questions' means.
struct Spread {
  int questions = 0;
  int estimated = 0;  // questions with an estimate
  double median = 0;
  double lower_quartile = 0;
  double upper_quartile = 0;
  double lowest = 0;
  double highest = 0;
};
Spread spread(const Compiled& source);

// The report line of `check`: "FILE: nehézség: ... / difficulty: ...".
std::string spread_line(std::string_view file, const Spread& s);

// The levels of files that form a graded series (at least two files of one
// folder, each named by two digits, "01.txt" ... "10.txt", their numbers
// one after the other in any order given), in the order given; empty when
// the files form no such series.
std::vector<int> series_levels(const std::vector<std::string>& files);

// A graded series' warnings: a level whose median estimate is not below the
// level before it, and each question more than one level away from its
// estimated level. `levels` as series_levels gives them.
std::vector<FileDiagnostic> series_warnings(const std::vector<NamedSource>& sources, const std::vector<int>& levels);

}  // namespace questions
