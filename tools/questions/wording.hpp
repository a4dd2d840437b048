// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a program can see in the wording of a Hungarian quiz question, as a
// careful editor would flag it:
//
//   szo-a-kerdesben  the right answer's word (or its stem) stands in the
//                    question, and no wrong answer shares it ("kismalac" ...
//                    "Malacka", "legnagyobb" ... "nagybőgő");
//   ezres-tagolas    a four-digit number written with a group space ("1 000"
//                    is written 1000; five digits and more keep the space);
//   kilogo-valasz    one answer of another form than the other three: three
//                    numbers and a word, three answers with the same case
//                    ending and one without, one answer much longer (and of
//                    more words) than all the others;
//   ragegyeztetes    answers that do not agree with a question word with a
//                    case ending ("Melyik városban ..." wants "Bécsben",
//                    "Hol ...", "Kinek ...", "Mivel ..." alike).
//
// They are guesses, made to err on the side of silence: each finding can be
// acknowledged for its question with a "# Nyugtázva: NAME" line.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace questions {

inline constexpr std::string_view kGiveaway = "szo-a-kerdesben";
inline constexpr std::string_view kGroupSpace = "ezres-tagolas";
inline constexpr std::string_view kOddForm = "kilogo-valasz";
inline constexpr std::string_view kAgreement = "ragegyeztetes";
// Number answers out of ascending order (the checker's own, older warning).
inline constexpr std::string_view kOrder = "sorrend";

// Every warning an author may acknowledge for one question.
inline constexpr std::array<std::string_view, 5> kAcknowledgeable = {kGiveaway, kGroupSpace, kOddForm, kAgreement,
                                                                     kOrder};

struct Finding {
  int field = 0;   // 0: the question; 1 to 4: answers A to D
  int column = 1;  // in characters of that text, from 1
  std::string_view kind;
  std::string message;  // Hungarian, then " / ", then English
};

// The findings on one question: its text, its four answers (UTF-8) and
// which of them is right (0 to 3).
std::vector<Finding> wording_findings(std::string_view question, const std::array<std::string, 4>& answers, int right);

// An answer that is a number: an optional sign, digits (in groups of three
// separated by spaces, or not grouped), an optional decimal comma, then an
// optional unit that does not start with a digit.
struct Number {
  long double value = 0;
  std::string unit;
};
std::optional<Number> number(std::string_view utf8);

}  // namespace questions
