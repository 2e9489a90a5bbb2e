#pragma once

#include <array>
#include <string_view>

namespace zrv {

/// One accent of the words database: its menu number, its table and its name in the menu.
struct AccentTable {
  int number;                  // 1 to 24: the menu line and the answer that selects it
  std::string_view tableName;  // the accent's table in zrv_words.db
  std::string_view label;      // as the accent menu shows it
  bool isUniversalStandard;    // marked with an asterisk in the menu
};

/// The 24 accents, in menu order.
inline constexpr std::array<AccentTable, 24> accentCatalog = {{
    {1, "zrv_words_au_standard", "AU Standard", true},
    {2, "zrv_words_ca_atlantic", "CA Atlantic", false},
    {3, "zrv_words_ca_standard", "CA Standard", true},
    {4, "zrv_words_in_standard", "IN Standard", true},
    {5, "zrv_words_nz_standard", "NZ Standard", true},
    {6, "zrv_words_uk_irish", "UK Irish", false},
    {7, "zrv_words_uk_london", "UK London", false},
    {8, "zrv_words_uk_midland_northern", "UK Midland Northern", false},
    {9, "zrv_words_uk_midland_southern", "UK Midland Southern", false},
    {10, "zrv_words_uk_rp", "UK RP", true},
    {11, "zrv_words_uk_scottish", "UK Scottish", false},
    {12, "zrv_words_uk_southwestern", "UK Southwestern", false},
    {13, "zrv_words_uk_wales", "UK Wales", false},
    {14, "zrv_words_us_hawaiian", "US Hawaiian", false},
    {15, "zrv_words_us_inland_northern", "US Inland Northern", false},
    {16, "zrv_words_us_midland", "US Midland", true},
    {17, "zrv_words_us_nyc", "US NYC", false},
    {18, "zrv_words_us_new_england", "US New England", false},
    {19, "zrv_words_us_north_central", "US North Central", false},
    {20, "zrv_words_us_pitts", "US Pitts", false},
    {21, "zrv_words_us_south_florida", "US South Florida", false},
    {22, "zrv_words_us_southern", "US Southern", false},
    {23, "zrv_words_us_western", "US Western", false},
    {24, "zrv_words_za_standard", "ZA Standard", true},
}};

}  // namespace zrv
