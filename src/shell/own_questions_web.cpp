// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/own_questions_web.hpp"

#include <algorithm>
#include <cstdio>
#include <set>
#include <span>
#include <system_error>
#include <vector>

#include "game/question_sets.hpp"
#include "game/questions.hpp"
#include "platform/cp852.hpp"
#include "platform/web_backend.hpp"

namespace shell {
namespace {

// The sets an own source may stand in for: the single-file sets of the
// question-set table, one bank each, as the game reads it.
struct Target {
  std::string key;   // the bank's file name without its extension
  std::string bank;  // relative to the game's folder
  std::string name;  // as the question-set screen names it (UTF-8)
};

const std::vector<Target>& targets() {
  static const std::vector<Target> all = [] {
    std::vector<Target> out;
    for (const game::QuestionSet& set : game::kQuestionSets) {
      if (set.graded()) continue;
      std::string bank(set.file);
      std::replace(bank.begin(), bank.end(), '\\', '/');
      out.push_back({std::filesystem::path(bank).stem().string(), bank, cp852::to_utf8(set.name)});
    }
    return out;
  }();
  return all;
}

constexpr const char* kOwnFolder = "Data/Own";

const Target* target(std::string_view key) {
  for (const Target& t : targets()) {
    if (t.key == key) return &t;
  }
  return nullptr;
}

std::filesystem::path source_path(const Target& t) {
  return std::filesystem::path(kOwnFolder) / (std::string(t.key) + ".txt");
}

// A file's bytes in the page's memory (stdio: no iostreams in the module).
std::optional<std::string> read_whole(const std::filesystem::path& path) {
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return std::nullopt;
  std::string bytes;
  char buf[16384];
  std::size_t n = 0;
  while ((n = std::fread(buf, 1, sizeof buf, in)) > 0) bytes.append(buf, n);
  const bool failed = std::ferror(in) != 0;
  std::fclose(in);
  if (failed) return std::nullopt;
  return bytes;
}

bool write_whole(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
  std::FILE* out = std::fopen(path.c_str(), "wb");
  if (out == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  return std::fclose(out) == 0 && written;
}

// The banks an own source has put in place, to be taken away once it is gone.
std::set<std::string> g_stood_in;

// The Hungarian half of a message written "magyar / English".
std::string_view hungarian(std::string_view message) {
  const std::size_t at = message.find(" / ");
  return at == std::string_view::npos ? message : message.substr(0, at);
}

// The checker's verdict on a source as JSON: {"ok", "count", "messages":
// [{"line", "column", "error", "text"}]}, the texts in Hungarian.
std::string verdict(std::string_view source, questions::Compiled* compiled) {
  std::string out;
  if (source.size() > questions::kMaxSourceSize) {
    // Refused unread, and the refusal is an error like any other, so that
    // no caller takes the empty result for a source without errors.
    *compiled = questions::Compiled{};
    compiled->diagnostics.push_back(
        {.line = 0,
         .column = 0,
         .error = true,
         .message = "nagyobb, mint " + std::to_string(questions::kMaxSourceSize) + " bájt; nem kérdésforrás"});
  } else {
    *compiled = questions::compile(source);
  }
  out = "{\"ok\":" + std::string(compiled->ok() ? "true" : "false") + ",\"count\":" + std::to_string(compiled->count) +
        ",\"messages\":[";
  bool first = true;
  for (const questions::Diagnostic& d : compiled->diagnostics) {
    if (!first) out += ",";
    first = false;
    out += "{\"line\":" + std::to_string(d.line) + ",\"column\":" + std::to_string(d.column) +
           ",\"error\":" + (d.error ? "true" : "false") + ",\"text\":" + platform::json_utf8(hungarian(d.message)) +
           "}";
  }
  return out + "]}";
}

}  // namespace

std::string own_verdict(std::string_view source, questions::Compiled* compiled) { return verdict(source, compiled); }

std::string own_sets_json() {
  std::string out = "[";
  for (const Target& t : targets()) {
    std::error_code ec;
    const bool own = std::filesystem::is_regular_file(source_path(t), ec);
    if (out.size() > 1) out += ",";
    out += "{\"key\":" + platform::json_utf8(t.key) + ",\"name\":" + platform::json_utf8(t.name) +
           ",\"own\":" + (own ? "true" : "false") + "}";
  }
  return out + "]";
}

std::optional<std::filesystem::path> own_source_path(std::string_view key) {
  const Target* t = target(key);
  if (t == nullptr) return std::nullopt;
  return source_path(*t);
}

std::optional<std::string> read_own_source(std::string_view key) {
  const auto path = own_source_path(key);
  return path ? read_whole(*path) : std::nullopt;
}

void stand_in_own_bank(const std::filesystem::path& path) {
  const std::string name = path.lexically_normal().generic_string();
  for (const Target& t : targets()) {
    if (name != t.bank) continue;
    std::error_code ec;
    if (const auto source = read_whole(source_path(t))) {
      const questions::Compiled compiled = questions::compile(*source);
      if (compiled.ok()) {
        const auto bank = game::encode_bank(compiled.bank);
        std::filesystem::create_directories(path.parent_path(), ec);
        if (write_whole(path, bank)) {
          g_stood_in.insert(name);
          return;
        }
      }
      std::fprintf(stderr,
                   "zelvanos: %s: a saját kérdések nem használhatók, a játék sajátját olvassa "
                   "(own questions unusable, the shipped bank is read)\n",
                   source_path(t).generic_string().c_str());
    }
    // No own source (any more): the shipped bank is fetched again.
    if (g_stood_in.erase(name) != 0) std::filesystem::remove(path, ec);
  }
}

}  // namespace shell
