// Numbers, times and dates said with recorded words: each Portuguese word is
// an item of the letters folder ("_" + its first seven letters), and a run
// of words is joined into one sound so it plays without gaps.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tamiral {

class Speech;
struct DateTime;

// The Portuguese words of v (0 <= v < 10^15), Windows-1252, one space
// between words: 1500 is "mil e quinhentos".
std::string recordedNumberWords(uint64_t v);

// Plays the items of the words, joined into sounds of at most 30000 bytes;
// with feminine, a final "um"/"dois" is said "uma"/"duas". A word without an
// item file is skipped silently. Every item name goes to the speech log.
void playRecordedWords(Speech& speech, std::string_view words, bool feminine);

// 0 Sunday .. 6 Saturday, for a day of the Gregorian calendar.
int weekdayOf(int day, int month, int year);

// Hours, minutes and dates take values of zero or more.
void speakTime(Speech& speech, int hours, int minutes);
void speakDate(Speech& speech, int day, int month, int year);
void speakCurrentTime(Speech& speech, const DateTime& now);
void speakCurrentDate(Speech& speech, const DateTime& now);

}  // namespace tamiral
