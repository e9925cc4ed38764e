// Interval-box texts and what GetDlgItemInt(window, id, &translated, FALSE)
// makes of them. The Windows column is not a measurement: it is our reading
// of Microsoft's GetDlgItemInt documentation (leading blanks skipped, then
// decimal digits to the end of the text, at most UINT_MAX; anything else not
// translated), unconfirmed on real Windows until the test kit's first run
// there, whose window test prints every row it disagrees with. The Wine
// column is what Wine 8's GetDlgItemInt answers on the real edit box, as
// measured: it reads only the first 29 characters, as strtoul does (leading
// blanks and a sign taken, a minus wrapping around, anything after the
// digits ignored), and takes full-width digits as digits. Once any text has
// overflowed in the same thread it also refuses 4294967295, strtoul's
// overflow answer (the overflow error is never cleared), so the rows are
// read in order. The fake platform reads by the Windows column; the window
// tests confirm the Wine one.
#pragma once

#include <cstdint>

// A reading of -1 means "not translated" (GetDlgItemInt answers 0, FALSE).
const int64_t kNotTranslated = -1;

struct BoxTextReading {
    const char* what;
    const wchar_t* text;
    int64_t windows;
    int64_t wine;
};

// clang-format off
const BoxTextReading kBoxTextReadings[] = {
    {"empty",                         L"",                 kNotTranslated, kNotTranslated},
    {"zero",                          L"0",                0,              0},
    {"one",                           L"1",                1,              1},
    {"default",                       L"5",                5,              5},
    {"leading zeros",                 L"007",              7,              7},
    {"sixty",                         L"60",               60,             60},
    {"sixty-one",                     L"61",               61,             61},
    {"three billion",                 L"3000000000",       3000000000,     3000000000},
    {"largest unsigned",              L"4294967295",       4294967295,     4294967295},
    {"minus",                         L"-1",               kNotTranslated, 4294967295},
    {"one past the largest unsigned", L"4294967296",       kNotTranslated, kNotTranslated},
    {"twenty digits",                 L"99999999999999999999", kNotTranslated, kNotTranslated},
    {"largest after an overflow",     L"4294967295",       4294967295,     kNotTranslated},
    {"zero padding past ten digits",  L"00000000000000000042", 42,         42},
    {"zero padding to thirty",        L"000000000000000000000000000042", 42, 4},
    {"leading blanks",                L"  7",              7,              7},
    {"trailing blank",                L"7 ",               kNotTranslated, 7},
    {"letters",                       L"abc",              kNotTranslated, kNotTranslated},
    {"digits then letters",           L"12abc",            kNotTranslated, 12},
    {"decimal point",                 L"5.5",              kNotTranslated, 5},
    {"plus",                          L"+5",               kNotTranslated, 5},
    {"hexadecimal",                   L"0x10",             kNotTranslated, 0},
    {"full-width digit",              L"\xFF15",           kNotTranslated, 5},
    {"Arabic-Indic digit",            L"\x0665",           kNotTranslated, kNotTranslated},
};
// clang-format on
