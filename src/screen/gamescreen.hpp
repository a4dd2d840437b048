#pragma once
// The quiz screen's furniture: the question and answer boxes with their
// pointed ends, the prize ladder, the host's announcement and the question.

#include <cstdint>
#include <string>

namespace screen {

// The level number as text, set by the announcement and used by the question.
extern std::string SZVG;
// Which of the five announcements was drawn last.
extern std::int16_t SZOVEG;

void KERETEK();
void OLDAL_A();
void OLDAL_B();
void OLDAL_C();
void OLDAL_D();
void TABLAZAT();
void KERDESSZOVEG();
void KIIRAS();

void reset_gamescreen();

}  // namespace screen
