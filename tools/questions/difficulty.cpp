// SPDX-License-Identifier: GPL-3.0-or-later
#include "questions/difficulty.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <numeric>

namespace questions {
namespace {

std::string both(const std::string& hu, const std::string& en) { return hu + " / " + en; }

// A percent as a reader reads it: whole, or with one decimal (a decimal
// comma in Hungarian).
std::string percent(double value, bool hungarian) {
  const double tenths = std::round(value * 10);
  std::string out = std::to_string(static_cast<long>(tenths / 10));
  const long decimal = static_cast<long>(tenths) % 10;
  if (decimal != 0) out += (hungarian ? "," : ".") + std::to_string(decimal);
  return out + "%";
}

// "80–93%".
std::string range(double low, double high, bool hungarian) {
  std::string from = percent(low, hungarian);
  from.pop_back();
  return from + "–" + percent(high, hungarian);
}

// The value at fraction p of sorted values, between neighbours linearly.
double quantile(const std::vector<double>& sorted, double p) {
  const double at = p * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(at));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (sorted[above] - sorted[below]) * (at - static_cast<double>(below));
}

std::vector<double> means(const Compiled& source) {
  std::vector<double> out;
  for (const auto& e : source.entries) {
    if (!e.estimates.empty()) out.push_back(mean_estimate(e.estimates));
  }
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace

double mean_estimate(const std::vector<int>& estimates) {
  if (estimates.empty()) return 0;
  return static_cast<double>(std::accumulate(estimates.begin(), estimates.end(), 0)) /
         static_cast<double>(estimates.size());
}

Spread spread(const Compiled& source) {
  Spread s;
  s.questions = static_cast<int>(source.entries.size());
  const std::vector<double> sorted = means(source);
  s.estimated = static_cast<int>(sorted.size());
  if (sorted.empty()) return s;
  s.median = quantile(sorted, 0.5);
  s.lower_quartile = quantile(sorted, 0.25);
  s.upper_quartile = quantile(sorted, 0.75);
  s.lowest = sorted.front();
  s.highest = sorted.back();
  return s;
}

std::string spread_line(std::string_view file, const Spread& s) {
  const std::string n = std::to_string(s.questions);
  std::string out = std::string(file) + ": ";
  if (s.estimated == 0) {
    return out + both("nehézség: " + n + " kérdés, egyiknek sincs becslése",
                      "difficulty: " + n + " questions, none with an estimate");
  }
  const std::string k = std::to_string(s.estimated);
  const auto figures = [&](bool hu) {
    return (hu ? "medián " : "median ") + percent(s.median, hu) + (hu ? ", kvartilisek " : ", quartiles ") +
           range(s.lower_quartile, s.upper_quartile, hu) + (hu ? ", legkisebb–legnagyobb " : ", lowest–highest ") +
           range(s.lowest, s.highest, hu);
  };
  return out + both("nehézség: " + n + " kérdésből " + k + " becsült; " + figures(true),
                    "difficulty: " + k + " of " + n + " questions estimated; " + figures(false));
}

std::vector<int> series_levels(const std::vector<std::string>& files) {
  if (files.size() < 2) return {};
  std::vector<int> levels;
  const std::filesystem::path folder = std::filesystem::path(files[0]).parent_path().lexically_normal();
  for (const std::string& file : files) {
    const std::filesystem::path p(file);
    const std::string stem = p.stem().string();
    if (p.parent_path().lexically_normal() != folder || stem.size() != 2 || stem[0] < '0' || stem[0] > '9' ||
        stem[1] < '0' || stem[1] > '9') {
      return {};
    }
    levels.push_back((stem[0] - '0') * 10 + (stem[1] - '0'));
  }
  std::vector<int> sorted = levels;
  std::sort(sorted.begin(), sorted.end());
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i] != sorted[i - 1] + 1) return {};
  }
  return levels;
}

std::vector<FileDiagnostic> series_warnings(const std::vector<NamedSource>& sources, const std::vector<int>& levels) {
  std::vector<FileDiagnostic> out;
  if (sources.size() != levels.size() || sources.empty()) return out;
  // The sources in level order.
  std::vector<std::size_t> order(sources.size());
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return levels[a] < levels[b]; });

  // Each level's median below the one before.
  std::size_t previous = sources.size();
  double previous_median = 0;
  for (const std::size_t s : order) {
    const Spread here = spread(*sources[s].compiled);
    if (here.estimated == 0) continue;
    if (previous != sources.size() && here.median >= previous_median) {
      const std::string before = sources[previous].file;
      out.push_back(
          {sources[s].file,
           {0, 0, false,
            both("a szint becsült mediánja " + percent(here.median, true) + ", nem kisebb az előző szinténél (" +
                     before + ": " + percent(previous_median, true) + ")",
                 "the level's median estimate is " + percent(here.median, false) + ", not below the level before (" +
                     before + ": " + percent(previous_median, false) + ")")}});
    }
    previous = s;
    previous_median = here.median;
  }

  // Each question's estimated level: its rank among the series' questions,
  // easiest first, cut into groups the sizes of the levels.
  struct Item {
    double mean;
    std::size_t source;
    int line;
  };
  std::vector<Item> items;
  std::vector<std::pair<int, std::size_t>> groups;  // level, size; in level order
  for (const std::size_t s : order) {
    std::size_t size = 0;
    for (const auto& e : sources[s].compiled->entries) {
      if (e.estimates.empty()) continue;
      items.push_back({mean_estimate(e.estimates), s, e.line});
      ++size;
    }
    groups.emplace_back(levels[s], size);
  }
  std::vector<double> ranked;
  for (const Item& i : items) ranked.push_back(i.mean);
  std::sort(ranked.begin(), ranked.end(), std::greater<>());
  const auto level_at = [&](std::size_t position) {
    for (const auto& [level, size] : groups) {
      if (position < size) return level;
      position -= size;
    }
    return groups.back().first;
  };
  for (const Item& i : items) {
    const auto first = static_cast<std::size_t>(
        std::lower_bound(ranked.begin(), ranked.end(), i.mean, std::greater<>()) - ranked.begin());
    const auto last = static_cast<std::size_t>(
        std::upper_bound(ranked.begin(), ranked.end(), i.mean, std::greater<>()) - ranked.begin() - 1);
    const int low = level_at(first);
    const int high = level_at(last);
    const int own = levels[i.source];
    const int nearest = std::clamp(own, low, high);
    if (std::abs(nearest - own) <= 1) continue;
    const std::string where = low == high ? std::to_string(low) : std::to_string(low) + "–" + std::to_string(high);
    out.push_back({sources[i.source].file,
                   {i.line, 0, false,
                    both("a kérdés becslése (átlag " + percent(i.mean, true) + ") a(z) " + where +
                             ". szintre teszi, nem a(z) " + std::to_string(own) + ". szintre",
                         "the question's estimate (mean " + percent(i.mean, false) + ") places it at level " + where +
                             ", not " + std::to_string(own))}});
  }
  return out;
}

}  // namespace questions
