// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/own_questions_web.hpp"

#include <emscripten.h>

#include <array>
#include <cstdio>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <system_error>

#include "game/questions.hpp"
#include "platform/files.hpp"
#include "platform/web_backend.hpp"
#include "questions/source.hpp"

// The page's side, in web_library.js.
extern "C" {
int zelvanos_web_store();                        // async
void zelvanos_web_own_done(const char* result);  // what came of a change
}

namespace shell {
namespace {

// The sets an own source may stand in for: one bank each, as the game reads it.
struct Target {
  std::string_view key;
  std::string_view bank;  // relative to the game's folder
  std::string_view name;  // as the question-set screen names it (UTF-8)
};
constexpr std::array<Target, 3> kTargets = {{
    {"szamtech", "Questions/Single/szamtech.lmk", "Számítástechnika"},
    {"kelvarion", "Questions/Single/kelvarion.lmk", "Kelvarion"},
    {"labdarugas", "Questions/Single/labdarugas.lmk", "Labdarúgás"},
}};

constexpr const char* kOwnFolder = "Data/Own";

const Target* target(std::string_view key) {
  for (const Target& t : kTargets) {
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

std::string g_answer;  // what the last call below returns to the page
std::string g_bytes;   // the bytes the last call below returns to the page

// A UTF-8 text as a JSON string.
std::string json(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", u);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

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
    const std::string most = std::to_string(questions::kMaxSourceSize);
    return "{\"ok\":false,\"count\":0,\"messages\":[{\"line\":0,\"column\":0,\"error\":true,\"text\":" +
           json("nagyobb, mint " + most + " bájt; nem kérdésforrás") + "}]}";
  }
  *compiled = questions::compile(source);
  out = "{\"ok\":" + std::string(compiled->ok() ? "true" : "false") + ",\"count\":" + std::to_string(compiled->count) +
        ",\"messages\":[";
  bool first = true;
  for (const questions::Diagnostic& d : compiled->diagnostics) {
    if (!first) out += ",";
    first = false;
    out += "{\"line\":" + std::to_string(d.line) + ",\"column\":" + std::to_string(d.column) +
           ",\"error\":" + (d.error ? "true" : "false") + ",\"text\":" + json(hungarian(d.message)) + "}";
  }
  return out + "]}";
}

std::string_view bytes_of(const char* bytes, int length) {
  return length > 0 && bytes != nullptr ? std::string_view(bytes, static_cast<std::size_t>(length))
                                        : std::string_view();
}

}  // namespace

void stand_in_own_bank(const std::filesystem::path& path) {
  const std::string name = path.lexically_normal().generic_string();
  for (const Target& t : kTargets) {
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

// The checker's verdict on the source `bytes`, as JSON (see verdict).
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_check_source(const char* bytes, int length) {
  questions::Compiled compiled;
  shell::g_answer = shell::verdict(shell::bytes_of(bytes, length), &compiled);
  return shell::g_answer.c_str();
}

// The largest source the checker takes: the page passes no more than one
// byte over it (the checker then refuses it).
extern "C" EMSCRIPTEN_KEEPALIVE int zelvanos_web_source_limit() { return static_cast<int>(questions::kMaxSourceSize); }

// The bank the source compiles to (game::kBankSize bytes; see
// zelvanos_web_own_length), or null when it has errors.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_compile_source(const char* bytes, int length) {
  questions::Compiled compiled;
  shell::verdict(shell::bytes_of(bytes, length), &compiled);
  if (!compiled.ok() || length > static_cast<int>(questions::kMaxSourceSize)) return nullptr;
  const auto bank = game::encode_bank(compiled.bank);
  shell::g_bytes.assign(bank.begin(), bank.end());
  return shell::g_bytes.data();
}

// The sets an own source may stand in for, as JSON: [{"key", "name",
// "own": whether one does now}].
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_own_sets() {
  std::string out = "[";
  for (const shell::Target& t : shell::kTargets) {
    std::error_code ec;
    const bool own = std::filesystem::is_regular_file(shell::source_path(t), ec);
    if (out.size() > 1) out += ",";
    out += "{\"key\":" + shell::json(t.key) + ",\"name\":" + shell::json(t.name) +
           ",\"own\":" + (own ? "true" : "false") + "}";
  }
  shell::g_answer = out + "]";
  return shell::g_answer.c_str();
}

// The own source of the set `key` as stored (see zelvanos_web_own_length),
// or null when it has none.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_own_source(const char* key) {
  const shell::Target* t = shell::target(key);
  const auto bytes = t != nullptr ? shell::read_whole(shell::source_path(*t)) : std::nullopt;
  if (!bytes) return nullptr;
  shell::g_bytes = *bytes;
  return shell::g_bytes.data();
}

// How many bytes the last call above returned.
extern "C" EMSCRIPTEN_KEEPALIVE int zelvanos_web_own_length() { return static_cast<int>(shell::g_bytes.size()); }

// Checks the source `bytes` and, when it has no error, makes it the set
// `key`'s own: returns the verdict at once; the game's side stores the
// source at its next chance and tells the page (zelvanos_web_own_done, an
// empty text when it is stored). The game reads it at its next read of
// that set's bank.
extern "C" EMSCRIPTEN_KEEPALIVE const char* zelvanos_web_own_put(const char* key, const char* bytes, int length) {
  const shell::Target* t = shell::target(key);
  if (t == nullptr) {
    shell::g_answer =
        R"({"ok":false,"count":0,"messages":[{"line":0,"column":0,"error":true,"text":"nincs ilyen kérdéscsomag"}]})";
    return shell::g_answer.c_str();
  }
  questions::Compiled compiled;
  shell::g_answer = shell::verdict(shell::bytes_of(bytes, length), &compiled);
  if (!compiled.ok()) return shell::g_answer.c_str();
  platform::run_for_page([path = shell::source_path(*t), source = std::string(shell::bytes_of(bytes, length))] {
    std::string result;
    try {
      std::error_code ec;
      std::filesystem::create_directories(path.parent_path(), ec);
      platform::write_record(
          path, std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(source.data()), source.size()));
    } catch (const platform::Fatal& e) {
      result = e.what();
    }
    zelvanos_web_own_done(result.c_str());
  });
  return shell::g_answer.c_str();
}

// Gives the set `key` its shipped bank back: the game's side removes the
// own source at its next chance and tells the page (zelvanos_web_own_done).
extern "C" EMSCRIPTEN_KEEPALIVE int zelvanos_web_own_remove(const char* key) {
  const shell::Target* t = shell::target(key);
  if (t == nullptr) return 0;
  platform::run_for_page([path = shell::source_path(*t)] {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    std::string result;
    if (ec) {
      result = "nem törölhető: " + ec.message();
    } else if (zelvanos_web_store() != 0) {
      result = "a böngésző tárolójába nem sikerült menteni";
    }
    zelvanos_web_own_done(result.c_str());
  });
  return 1;
}
