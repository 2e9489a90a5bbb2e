#include "accents.h"

#include <algorithm>
#include <array>
#include <functional>

namespace zrv::words_tool {
namespace {

using S = Sound;
using U = Unit;

struct SoundInfo {
  std::string_view spelling;
  std::string_view name;
};

// Indexed by Sound. docs/orthography.md shows the same table; a test keeps the two alike.
constexpr std::array<SoundInfo, kSoundCount> kSounds = {{
    {"b", "B"},
    {"ч", "CH"},
    {"d", "D"},
    {"ð", "DH"},
    {"f", "F"},
    {"g", "G"},
    {"h", "HH"},
    {"j", "JH"},
    {"k", "K"},
    {"l", "L"},
    {"m", "M"},
    {"n", "N"},
    {"ŋ", "NG"},
    {"p", "P"},
    {"r", "R"},
    {"s", "S"},
    {"ћ", "SH"},
    {"t", "T"},
    {"þ", "TH"},
    {"v", "V"},
    {"w", "W"},
    {"y", "Y"},
    {"z", "Z"},
    {"zh", "ZH"},
    {"ɾ", "Flap"},
    {"ʔ", "Glottal"},
    {"i", "Kit"},
    {"e", "Dress"},
    {"a", "Trap"},
    {"o", "RoundedLot"},
    {"ā", "OpenA"},
    {"u", "Strut"},
    {"ú", "Foot"},
    {"å", "OpenO"},
    {"ů", "Nurse"},
    {"ī", "Fleece"},
    {"ē", "Face"},
    {"ō", "Goat"},
    {"ū", "Goose"},
    {"ai", "Price"},
    {"oi", "Choice"},
    {"au", "Mouth"},
    {"iu", "NearDiphthong"},
    {"է", "SquareVowel"},
    {"úu", "CureDiphthong"},
    {"é", "TenseE"},
    {"ó", "TenseO"},
    {"á", "LongA"},
    {"ui", "RaisedPrice"},
    {"ou", "RaisedMouth"},
    {"ei", "ShiftedFace"},
    {"āi", "ShiftedPrice"},
    {"ou", "ShiftedGoat"},
    {"åi", "BackedPrice"},
    {"ui", "LoweredFace"},
    {"ao", "FrontedMouth"},
}};

Sound& vowel(AccentProfile& p, Unit unit) {
  return p.vowels[static_cast<int>(unit) - kFirstVowelUnit];
}

Sound vowelOf(const AccentProfile& p, Unit unit) {
  return p.vowels[static_cast<int>(unit) - kFirstVowelUnit];
}

void setVowels(AccentProfile& p, std::initializer_list<std::pair<Unit, Sound>> table) {
  for (const auto& [unit, sound] : table) {
    vowel(p, unit) = sound;
  }
}

// General American, as the dictionary gives it: rhotic, LOT = PALM, CLOTH = THOUGHT, no yod after
// t, d, n, Mary = marry = merry.
AccentProfile american() {
  AccentProfile p;
  p.base = BaseKind::American;
  p.rhotic = true;
  setVowels(
      p,
      {{U::KIT, S::Kit},       {U::DRESS, S::Dress},   {U::TRAP, S::Trap},   {U::LOT, S::OpenA},
       {U::STRUT, S::Strut},   {U::FOOT, S::Foot},     {U::BATH, S::Trap},   {U::CLOTH, S::OpenO},
       {U::NURSE, S::Strut},   {U::FLEECE, S::Fleece}, {U::FACE, S::Face},   {U::PALM, S::OpenA},
       {U::THOUGHT, S::OpenO}, {U::GOAT, S::Goat},     {U::GOOSE, S::Goose}, {U::PRICE, S::Price},
       {U::CHOICE, S::Choice}, {U::MOUTH, S::Mouth},   {U::NEAR, S::Kit},    {U::SQUARE, S::Dress},
       {U::START, S::OpenA},   {U::NORTH, S::OpenO},   {U::FORCE, S::OpenO}, {U::CURE, S::Foot},
       {U::HAPPY, S::Fleece},  {U::LETTER, S::Strut},  {U::COMMA, S::Strut}});
  p.yod = YodRule::Drop;
  p.maryMarryMerry = true;
  p.mergedSets = {{U::LOT, U::PALM, U::START}, {U::CLOTH, U::THOUGHT, U::NORTH, U::FORCE},
                  {U::BATH, U::TRAP},          {U::NURSE, U::LETTER, U::STRUT, U::COMMA},
                  {U::NEAR, U::KIT},           {U::SQUARE, U::DRESS},
                  {U::CURE, U::FOOT},          {U::HAPPY, U::FLEECE}};
  return p;
}

// The American accents that lost r after a vowel (New York, Eastern New England).
void withoutR(AccentProfile& p) {
  p.rhotic = false;
  setVowels(p, {{U::NURSE, S::Nurse},
                {U::NEAR, S::NearDiphthong},
                {U::SQUARE, S::SquareVowel},
                {U::CURE, S::CureDiphthong}});
  p.maryMarryMerry = false;
  p.mergedSets = {{U::LOT, U::PALM, U::START},
                  {U::CLOTH, U::THOUGHT, U::NORTH, U::FORCE},
                  {U::BATH, U::TRAP},
                  {U::LETTER, U::STRUT, U::COMMA},
                  {U::HAPPY, U::FLEECE}};
}

// Received Pronunciation: the British-type base, non-rhotic, BATH as PALM, LOT rounded.
AccentProfile received() {
  AccentProfile p;
  p.base = BaseKind::British;
  p.rhotic = false;
  setVowels(p, {{U::KIT, S::Kit},
                {U::DRESS, S::Dress},
                {U::TRAP, S::Trap},
                {U::LOT, S::RoundedLot},
                {U::STRUT, S::Strut},
                {U::FOOT, S::Foot},
                {U::BATH, S::OpenA},
                {U::CLOTH, S::RoundedLot},
                {U::NURSE, S::Nurse},
                {U::FLEECE, S::Fleece},
                {U::FACE, S::Face},
                {U::PALM, S::OpenA},
                {U::THOUGHT, S::OpenO},
                {U::GOAT, S::Goat},
                {U::GOOSE, S::Goose},
                {U::PRICE, S::Price},
                {U::CHOICE, S::Choice},
                {U::MOUTH, S::Mouth},
                {U::NEAR, S::NearDiphthong},
                {U::SQUARE, S::SquareVowel},
                {U::START, S::OpenA},
                {U::NORTH, S::OpenO},
                {U::FORCE, S::OpenO},
                {U::CURE, S::CureDiphthong},
                {U::HAPPY, S::Fleece},
                {U::LETTER, S::Strut},
                {U::COMMA, S::Strut}});
  p.bath = BathRule::Full;
  p.bathVowel = S::OpenA;
  p.yod = YodRule::Keep;
  p.mergedSets = {{U::BATH, U::PALM, U::START},
                  {U::CLOTH, U::LOT},
                  {U::THOUGHT, U::NORTH, U::FORCE},
                  {U::LETTER, U::STRUT, U::COMMA},
                  {U::HAPPY, U::FLEECE}};
  return p;
}

// The British-type accents that kept r: LOT, BATH and the rest as the British base has them, the r
// after a vowel said.
AccentProfile britishRhotic() {
  AccentProfile p = received();
  p.rhotic = true;
  setVowels(p, {{U::NURSE, S::Strut},
                {U::NEAR, S::Kit},
                {U::SQUARE, S::SquareVowel},
                {U::CURE, S::Foot},
                {U::LETTER, S::Strut}});
  p.mergedSets = {{U::BATH, U::PALM, U::START},
                  {U::CLOTH, U::LOT},
                  {U::THOUGHT, U::NORTH, U::FORCE},
                  {U::NURSE, U::LETTER, U::STRUT, U::COMMA},
                  {U::NEAR, U::KIT},
                  {U::CURE, U::FOOT},
                  {U::HAPPY, U::FLEECE}};
  return p;
}

void addMerger(AccentProfile& p, std::vector<Unit> units) {
  p.mergedSets.push_back(std::move(units));
}

void cotCaught(AccentProfile& p, Sound merged) {
  setVowels(p, {{U::LOT, merged}, {U::CLOTH, merged}, {U::THOUGHT, merged}});
  addMerger(p, {U::LOT, U::CLOTH, U::THOUGHT});
}

std::array<AccentProfile, 24> makeProfiles() {
  std::array<AccentProfile, 24> a;
  // 1 AU Standard (Wells 1982, vol. 3; Cox and Palethorpe 2007)
  {
    AccentProfile p = received();
    p.bath = BathRule::AustralianList;
    p.flapping = true;
    p.weakKit = WeakKitRule::ExceptBeforeVelars;
    setVowels(p, {{U::CURE, S::OpenO},
                  {U::FACE, S::ShiftedFace},
                  {U::PRICE, S::ShiftedPrice},
                  {U::MOUTH, S::FrontedMouth}});
    addMerger(p, {U::CURE, U::FORCE, U::NORTH, U::THOUGHT});
    addMerger(p, {U::BATH, U::TRAP});
    a[0] = p;
  }
  // 2 CA Atlantic, 3 CA Standard (Boberg 2010; Labov, Ash and Boberg 2006, ch. 15)
  {
    AccentProfile p = american();
    cotCaught(p, S::OpenA);
    addMerger(p, {U::LOT, U::CLOTH, U::THOUGHT, U::PALM});
    p.canadianRaising = true;
    p.lotBeforeR = LotBeforeRRule::North;  // sorry, tomorrow with NORTH (Boberg 2010)
    a[1] = p;
    p.flapping = true;
    a[2] = p;
  }
  // 4 IN Standard (Sailaja 2009; Wells 1982, vol. 3)
  {
    AccentProfile p = received();
    setVowels(p, {{U::THOUGHT, S::RoundedLot}, {U::FACE, S::TenseE}, {U::GOAT, S::TenseO}});
    addMerger(p, {U::LOT, U::CLOTH, U::THOUGHT});
    p.vwMerger = true;
    a[3] = p;
  }
  // 5 NZ Standard (Bauer and Warren 2004; Wells 1982, vol. 3)
  {
    AccentProfile p = received();
    p.flapping = true;
    p.weakKit = WeakKitRule::All;
    setVowels(p, {{U::SQUARE, S::NearDiphthong}, {U::CURE, S::OpenO}});
    addMerger(p, {U::NEAR, U::SQUARE});
    addMerger(p, {U::CURE, U::FORCE, U::NORTH, U::THOUGHT});
    a[4] = p;
  }
  // 6 UK Irish (Hickey 2004; Wells 1982, vol. 2)
  {
    AccentProfile p = britishRhotic();
    p.bath = BathRule::None;
    setVowels(
        p,
        {{U::BATH, S::Trap}, {U::FACE, S::TenseE}, {U::SQUARE, S::TenseE}, {U::GOAT, S::TenseO}});
    addMerger(p, {U::BATH, U::TRAP});
    addMerger(p, {U::SQUARE, U::FACE});
    p.wh = true;
    a[5] = p;
  }
  // 7 UK London (Wells 1982, vol. 2; Cruttenden 2014 on Estuary and Cockney)
  {
    AccentProfile p = received();
    p.yod = YodRule::Coalesce;
    p.glottalling = true;
    p.th = ThRule::Front;
    p.hDropping = true;
    p.lVocalisation = true;
    setVowels(p, {{U::FACE, S::ShiftedFace},
                  {U::PRICE, S::ShiftedPrice},
                  {U::GOAT, S::ShiftedGoat},
                  {U::MOUTH, S::LongA},
                  {U::CURE, S::OpenO}});
    addMerger(p, {U::CURE, U::FORCE, U::NORTH, U::THOUGHT});
    a[6] = p;
  }
  // 8 UK Midland Northern (Wells 1982, vol. 2; Beal 2008)
  {
    AccentProfile p = received();
    p.bath = BathRule::None;
    setVowels(p, {{U::BATH, S::Trap},
                  {U::STRUT, S::Foot},
                  {U::FACE, S::TenseE},
                  {U::GOAT, S::TenseO},
                  {U::HAPPY, S::Kit}});
    p.mergedSets = {{U::BATH, U::TRAP},    {U::PALM, U::START},
                    {U::CLOTH, U::LOT},    {U::THOUGHT, U::NORTH, U::FORCE},
                    {U::LETTER, U::COMMA}, {U::STRUT, U::FOOT},
                    {U::HAPPY, U::KIT}};
    a[7] = p;
  }
  // 9 UK Midland Southern: Birmingham and the Black Country (Wells 1982, vol. 2; Clark 2008)
  {
    AccentProfile p = received();
    p.bath = BathRule::None;
    setVowels(p, {{U::BATH, S::Trap},
                  {U::STRUT, S::Foot},
                  {U::PRICE, S::BackedPrice},
                  {U::FACE, S::LoweredFace},
                  {U::GOAT, S::ShiftedGoat}});
    p.mergedSets = {{U::BATH, U::TRAP},    {U::PALM, U::START},
                    {U::CLOTH, U::LOT},    {U::THOUGHT, U::NORTH, U::FORCE},
                    {U::LETTER, U::COMMA}, {U::STRUT, U::FOOT},
                    {U::HAPPY, U::FLEECE}};
    p.hDropping = true;
    a[8] = p;
  }
  // 10 UK RP (Wells 1982, vol. 2; Cruttenden 2014)
  a[9] = received();
  // 11 UK Scottish (Wells 1982, vol. 2; Stuart-Smith 2004)
  {
    AccentProfile p = britishRhotic();
    p.bath = BathRule::None;
    setVowels(p, {{U::FOOT, S::Goose},
                  {U::BATH, S::Trap},
                  {U::PALM, S::Trap},
                  {U::THOUGHT, S::RoundedLot},
                  {U::FACE, S::TenseE},
                  {U::GOAT, S::TenseO},
                  {U::NEAR, S::Fleece},
                  {U::SQUARE, S::TenseE},
                  {U::START, S::Trap},
                  {U::NORTH, S::RoundedLot},
                  {U::FORCE, S::TenseO},
                  {U::CURE, S::Goose}});
    p.nurseSplit = true;
    p.wh = true;
    p.mergedSets = {{U::TRAP, U::BATH, U::PALM, U::START},
                    {U::LOT, U::CLOTH, U::THOUGHT, U::NORTH},
                    {U::FOOT, U::GOOSE, U::CURE},
                    {U::FACE, U::SQUARE},
                    {U::HAPPY, U::FLEECE},
                    {U::GOAT, U::FORCE},
                    {U::FLEECE, U::NEAR},
                    {U::STRUT, U::COMMA, U::LETTER}};
    a[10] = p;
  }
  // 12 UK Southwestern (Wells 1982, vol. 2; Wakelin 1986)
  {
    AccentProfile p = britishRhotic();
    p.bathVowel = S::LongA;
    setVowels(p, {{U::PALM, S::LongA}, {U::START, S::LongA}});
    p.hDropping = true;
    a[11] = p;
  }
  // 13 UK Wales (Wells 1982, vol. 2; Penhallurick 2004)
  {
    AccentProfile p = received();
    p.bath = BathRule::None;
    setVowels(p, {{U::BATH, S::Trap}, {U::FACE, S::TenseE}, {U::GOAT, S::TenseO}});
    p.mergedSets = {{U::BATH, U::TRAP},
                    {U::PALM, U::START},
                    {U::CLOTH, U::LOT},
                    {U::THOUGHT, U::NORTH, U::FORCE},
                    {U::LETTER, U::STRUT, U::COMMA},
                    {U::HAPPY, U::FLEECE}};
    a[12] = p;
  }
  // 14 US Hawaiian (Sakoda and Siegel 2003; Drager 2012)
  {
    AccentProfile p = american();
    cotCaught(p, S::OpenA);
    addMerger(p, {U::LOT, U::CLOTH, U::THOUGHT, U::PALM});
    setVowels(p, {{U::FACE, S::TenseE}, {U::GOAT, S::TenseO}});
    p.th = ThRule::Stop;
    p.flapping = true;
    a[13] = p;
  }
  // 15 US Inland Northern: the Northern Cities Shift (Labov, Ash and Boberg 2006, ch. 14)
  {
    AccentProfile p = american();
    setVowels(p, {{U::TRAP, S::TenseE},
                  {U::BATH, S::TenseE},
                  {U::LOT, S::Trap},
                  {U::PALM, S::Trap},
                  {U::START, S::Trap},
                  {U::THOUGHT, S::OpenA},
                  {U::CLOTH, S::OpenA}});
    p.mergedSets = {{U::LOT, U::PALM, U::START},
                    {U::CLOTH, U::THOUGHT},
                    {U::NORTH, U::FORCE},
                    {U::BATH, U::TRAP},
                    {U::NURSE, U::LETTER, U::STRUT, U::COMMA},
                    {U::NEAR, U::KIT},
                    {U::SQUARE, U::DRESS},
                    {U::CURE, U::FOOT},
                    {U::HAPPY, U::FLEECE}};
    p.flapping = true;
    a[14] = p;
  }
  // 16 US Midland (Labov, Ash and Boberg 2006, ch. 19)
  {
    AccentProfile p = american();
    p.flapping = true;
    a[15] = p;
  }
  // 17 US NYC (Labov 1966; Labov, Ash and Boberg 2006, ch. 17)
  {
    AccentProfile p = american();
    withoutR(p);
    // father and cart (long) stay apart from bother and cot (short) once the r is gone.
    vowel(p, U::LOT) = S::RoundedLot;
    p.mergedSets.front() = {U::PALM, U::START};
    p.lotBeforeR = LotBeforeRRule::Lot;  // orange, horrible, forest with LOT
    p.shortASplit = true;
    p.flapping = true;
    a[16] = p;
  }
  // 18 US New England: Eastern, Boston (Wells 1982, vol. 3; Labov, Ash and Boberg 2006, ch. 16)
  {
    AccentProfile p = american();
    withoutR(p);
    setVowels(p, {{U::LOT, S::RoundedLot},
                  {U::CLOTH, S::RoundedLot},
                  {U::THOUGHT, S::RoundedLot},
                  {U::PALM, S::LongA},
                  {U::START, S::LongA}});
    p.lotBeforeR = LotBeforeRRule::Lot;
    p.bath = BathRule::NewEnglandList;
    p.bathVowel = S::LongA;
    p.mergedSets = {{U::LOT, U::CLOTH, U::THOUGHT},
                    {U::PALM, U::START, U::BATH},
                    {U::NORTH, U::FORCE},
                    {U::BATH, U::TRAP},
                    {U::LETTER, U::STRUT, U::COMMA},
                    {U::HAPPY, U::FLEECE}};
    p.flapping = true;
    a[17] = p;
  }
  // 19 US North Central (Labov, Ash and Boberg 2006, ch. 14; Allen 1973)
  {
    AccentProfile p = american();
    cotCaught(p, S::OpenA);
    addMerger(p, {U::LOT, U::CLOTH, U::THOUGHT, U::PALM});
    setVowels(p, {{U::FACE, S::TenseE}, {U::GOAT, S::TenseO}});
    p.trapBeforeG = true;
    p.flapping = true;
    a[18] = p;
  }
  // 20 US Pitts (Johnstone, Bhasin and Wittkofski 2002; Labov, Ash and Boberg 2006, ch. 19)
  {
    AccentProfile p = american();
    cotCaught(p, S::RoundedLot);
    vowel(p, U::PALM) = S::RoundedLot;
    addMerger(p, {U::LOT, U::CLOTH, U::THOUGHT, U::PALM});
    vowel(p, U::MOUTH) = S::LongA;
    p.fillFeel = true;
    p.flapping = true;
    a[19] = p;
  }
  // 21 US South Florida (Carter and Lynch 2015)
  {
    AccentProfile p = american();
    cotCaught(p, S::OpenA);
    addMerger(p, {U::LOT, U::CLOTH, U::THOUGHT, U::PALM});
    a[20] = p;
  }
  // 22 US Southern (Thomas 2004; Labov, Ash and Boberg 2006, ch. 18)
  {
    AccentProfile p = american();
    p.pinPen = true;
    p.priceMonophthong = true;
    p.flapping = true;
    a[21] = p;
  }
  // 23 US Western (Labov, Ash and Boberg 2006, ch. 20)
  {
    AccentProfile p = american();
    cotCaught(p, S::OpenA);
    addMerger(p, {U::LOT, U::CLOTH, U::THOUGHT, U::PALM});
    p.flapping = true;
    a[22] = p;
  }
  // 24 ZA Standard (Bowerman 2004; Lass 2002)
  {
    AccentProfile p = received();
    p.weakKit = WeakKitRule::ExceptBeforeVelars;
    vowel(p, U::CURE) = S::OpenO;
    addMerger(p, {U::CURE, U::FORCE, U::NORTH, U::THOUGHT});
    a[23] = p;
  }
  return a;
}

bool isVoicelessUnit(Unit unit) {
  switch (unit) {
    case U::P:
    case U::T:
    case U::K:
    case U::F:
    case U::TH:
    case U::S:
    case U::SH:
    case U::CH:
      return true;
    default:
      return false;
  }
}

Sound consonantSound(Unit unit) {
  return static_cast<Sound>(static_cast<int>(unit));
}

bool unitAt(const std::vector<Segment>& s, std::size_t i, Unit unit) {
  return i < s.size() && s[i].unit == unit;
}

bool vowelUnitAt(const std::vector<Segment>& s, std::size_t i) {
  return i < s.size() && isVowelUnit(s[i].unit);
}

// The sound of the vowel at `i` in the accent, with the rules that look at its neighbours.
Sound vowelSound(const BaseWord& word, std::size_t i, const AccentProfile& a) {
  const std::vector<Segment>& s = word.segments;
  const Segment& x = s[i];
  const Unit next = i + 1 < s.size() ? s[i + 1].unit : U::COMMA;
  const bool nextIsConsonant = i + 1 < s.size() && !isVowelUnit(next);
  const bool rThenVowel = next == U::R && vowelUnitAt(s, i + 2);
  Unit unit = x.unit;
  if (unit == U::BATH) {
    const bool longHere = a.bath == BathRule::Full ||
                          (a.bath == BathRule::AustralianList && x.bath.australian) ||
                          (a.bath == BathRule::NewEnglandList && x.bath.newEngland);
    if (longHere) {
      return a.bathVowel;
    }
    unit = U::TRAP;
  }
  if (a.base == BaseKind::American && unit == U::LOT && next == U::R) {
    const bool north = a.lotBeforeR == LotBeforeRRule::North ||
                       (a.lotBeforeR == LotBeforeRRule::AsDictionary && x.source == Phoneme::AO);
    if (north) {
      unit = U::NORTH;  // "orange", "moral" (and in Canada "sorry"): NORTH before r
    }
  }
  if (a.maryMarryMerry && rThenVowel &&
      (unit == U::TRAP || unit == U::DRESS || unit == U::SQUARE)) {
    return vowelOf(a, U::DRESS);
  }
  switch (unit) {
    case U::TRAP:
      if (a.trapBeforeG && next == U::G) {
        return S::TenseE;
      }
      if (a.shortASplit && nextIsConsonant && !vowelUnitAt(s, i + 2)) {
        switch (next) {
          case U::M:
          case U::N:
          case U::B:
          case U::D:
          case U::G:
          case U::F:
          case U::TH:
          case U::S:
          case U::SH:
            return S::TenseE;
          default:
            break;
        }
      }
      break;
    case U::DRESS:
      if (a.pinPen && (next == U::M || next == U::N || next == U::NG)) {
        return vowelOf(a, U::KIT);
      }
      break;
    case U::KIT:
      if (x.stress == 0 && a.weakKit != WeakKitRule::None) {
        const bool velar = next == U::NG || next == U::K || next == U::G;
        if (a.weakKit == WeakKitRule::All || !velar) {
          return vowelOf(a, U::COMMA);
        }
      }
      break;
    case U::FLEECE:
      if (a.fillFeel && next == U::L) {
        return vowelOf(a, U::KIT);
      }
      break;
    case U::GOOSE:
      if (a.fillFeel && next == U::L) {
        return vowelOf(a, U::FOOT);
      }
      break;
    case U::NURSE:
      if (a.nurseSplit) {
        const char first = x.letters.empty() ? 'u' : x.letters.front();
        return first == 'i' || first == 'y' ? S::Kit : first == 'e' ? S::Dress : S::Strut;
      }
      break;
    case U::PRICE:
      if (a.canadianRaising && nextIsConsonant && isVoicelessUnit(next)) {
        return S::RaisedPrice;
      }
      if (a.priceMonophthong && !(nextIsConsonant && isVoicelessUnit(next))) {
        return S::LongA;
      }
      break;
    case U::MOUTH:
      if (a.canadianRaising && nextIsConsonant && isVoicelessUnit(next)) {
        return S::RaisedMouth;
      }
      break;
    default:
      break;
  }
  return vowelOf(a, unit);
}

bool isWeakVowel(const std::vector<Sounded>& out, std::size_t j) {
  return j < out.size() && isVowelSound(out[j].sound) && out[j].stress == 0;
}

bool vowelSoundAt(const std::vector<Sounded>& out, std::size_t j) {
  return j < out.size() && isVowelSound(out[j].sound);
}

// A t or d before a weak vowel and a syllable-closing n keeps its stop ("button", "sudden").
bool beforeSyllabicN(const std::vector<Sounded>& out, std::size_t j) {
  return j + 2 < out.size() && out[j + 2].sound == S::N &&
         (j + 3 == out.size() || !vowelSoundAt(out, j + 3));
}

}  // namespace

std::string_view spellingOf(Sound sound) {
  return kSounds[static_cast<int>(sound)].spelling;
}

std::string_view soundName(Sound sound) {
  return kSounds[static_cast<int>(sound)].name;
}

bool isVowelSound(Sound sound) {
  return sound >= S::Kit;
}

const AccentProfile& profileOf(const AccentTable& accent) {
  static const std::array<AccentProfile, 24> profiles = makeProfiles();
  return profiles.at(static_cast<std::size_t>(accent.number - 1));
}

AccentWord realise(const BaseWord& word, const AccentProfile& a) {
  const std::vector<Segment>& s = word.segments;
  AccentWord result;
  std::vector<Sounded>& out = result.sounds;
  out.reserve(s.size() + 2);
  const auto drop = [&](std::size_t i, std::string_view why) {
    result.dropped.emplace_back(static_cast<std::int16_t>(i), why);
  };
  for (std::size_t i = 0; i < s.size(); ++i) {
    const Segment& x = s[i];
    const auto base = static_cast<std::int16_t>(i);
    if (isVowelUnit(x.unit)) {
      out.push_back({vowelSound(word, i, a), x.stress, base});
      continue;
    }
    if (x.unit == U::Yod) {
      // American English keeps the yod its dictionary writes before a weak vowel (menu,
      // continue); London coalesces it with t and d and drops it elsewhere (new).
      const bool coalesces = a.yod == YodRule::Coalesce && !out.empty() &&
                             (out.back().sound == S::T || out.back().sound == S::D);
      if (coalesces) {
        out.back().sound = out.back().sound == S::T ? S::CH : S::JH;  // "tune", "due"
        drop(i, "yod coalescence");
      } else if ((a.yod == YodRule::Drop && !x.americanYod) || a.yod == YodRule::Coalesce) {
        drop(i, "yod dropping");
      } else {
        out.push_back({S::Y, Phone::kNoStress, base});
      }
      continue;
    }
    if (x.unit == U::R && !a.rhotic && !unitAt(s, i + 1, U::R) && !vowelUnitAt(s, i + 1)) {
      // "fire", "hour": the r-less accents say a schwa where the r was after a diphthong.
      const bool afterDiphthong =
          !out.empty() &&
          (unitAt(s, i - 1, U::PRICE) || unitAt(s, i - 1, U::MOUTH) || unitAt(s, i - 1, U::CHOICE));
      if (afterDiphthong) {
        out.push_back({S::Strut, 0, base});
      } else {
        drop(i, "non-rhotic");
      }
      continue;
    }
    if (x.unit == U::HH && a.hDropping) {
      drop(i, "h-dropping");
      continue;
    }
    if (x.unit == U::W && x.fromWh && a.wh) {
      out.push_back({S::HH, Phone::kNoStress, base});
    }
    Sound sound = consonantSound(x.unit);
    if (a.th == ThRule::Stop) {
      sound = sound == S::TH ? S::T : sound == S::DH ? S::D : sound;
    } else if (a.th == ThRule::Front) {
      sound = sound == S::TH ? S::F : (sound == S::DH && i > 0) ? S::V : sound;
    }
    if (a.vwMerger && sound == S::W) {
      sound = S::V;
    }
    out.push_back({sound, Phone::kNoStress, base});
  }
  // The rules that look at the sounds around a consonant, once the vowels and the r are settled.
  for (std::size_t j = 1; j < out.size(); ++j) {
    Sound& c = out[j].sound;
    const bool afterVowel = vowelSoundAt(out, j - 1) || (a.rhotic && out[j - 1].sound == S::R);
    if (a.flapping && (c == S::T || c == S::D) && afterVowel && isWeakVowel(out, j + 1) &&
        !beforeSyllabicN(out, j)) {
      c = S::Flap;
    } else if (a.glottalling && c == S::T && vowelSoundAt(out, j - 1)) {
      const bool last = j + 1 == out.size();
      const bool beforeConsonant = j + 1 < out.size() && !vowelSoundAt(out, j + 1) &&
                                   out[j + 1].sound != S::R && out[j + 1].sound != S::Y &&
                                   out[j + 1].sound != S::W;
      if (last || beforeConsonant || isWeakVowel(out, j + 1)) {
        c = S::Glottal;
      }
    } else if (a.lVocalisation && c == S::L && vowelSoundAt(out, j - 1) &&
               !vowelSoundAt(out, j + 1)) {
      c = S::W;  // "milk", "bottle"
    }
  }
  return result;
}

std::string spell(const AccentWord& word) {
  std::string text;
  text.reserve(word.sounds.size() * 2);
  for (const Sounded& sound : word.sounds) {
    text += spellingOf(sound.sound);
  }
  return text;
}

std::set<std::string> licensedMergers(const AccentProfile& a) {
  std::set<std::string> licensed;
  const auto pair = [&](Unit x, Unit y) {
    if (x == y) {
      return;
    }
    if (y < x) {
      std::swap(x, y);
    }
    licensed.insert(std::string(unitName(x)) + "=" + std::string(unitName(y)));
  };
  for (const std::vector<Unit>& set : a.mergedSets) {
    for (Unit x : set) {
      for (Unit y : set) {
        pair(x, y);
      }
    }
  }
  if (!a.rhotic) {
    licensed.insert("drop:R");
    pair(U::R, U::COMMA);   // the schwa of r-less "fire"
    pair(U::R, U::LETTER);  // tire = tyre
  }
  if (a.yod != YodRule::Keep) {
    licensed.insert("drop:Yod");
  }
  if (a.yod == YodRule::Coalesce) {
    pair(U::T, U::CH);
    pair(U::D, U::JH);
  }
  if (a.flapping) {
    pair(U::T, U::D);
  }
  if (a.th == ThRule::Stop) {
    pair(U::TH, U::T);
    pair(U::DH, U::D);
    if (a.flapping) {
      pair(U::DH, U::T);  // other = utter: the stopped th flaps like any t or d
      pair(U::TH, U::D);
      pair(U::DH, U::TH);
    }
  }
  if (a.th == ThRule::Front) {
    pair(U::TH, U::F);
    pair(U::DH, U::V);
  }
  if (a.hDropping) {
    licensed.insert("drop:HH");
  }
  if (a.lVocalisation) {
    pair(U::L, U::W);
  }
  if (a.vwMerger) {
    pair(U::V, U::W);
  }
  if (a.weakKit != WeakKitRule::None) {
    pair(U::KIT, U::COMMA);
    if (!a.rhotic) {
      pair(U::KIT, U::LETTER);  // fishers = fish's
    }
  }
  if (a.maryMarryMerry) {
    pair(U::TRAP, U::DRESS);
    pair(U::TRAP, U::SQUARE);
    pair(U::DRESS, U::SQUARE);
  }
  if (a.nurseSplit) {
    pair(U::NURSE, U::LETTER);
    pair(U::NURSE, U::KIT);
    pair(U::NURSE, U::DRESS);
    pair(U::NURSE, U::STRUT);
  }
  if (a.pinPen) {
    pair(U::DRESS, U::KIT);
  }
  if (a.fillFeel) {
    pair(U::FLEECE, U::KIT);
    pair(U::GOOSE, U::FOOT);
  }
  if (a.trapBeforeG) {
    pair(U::TRAP, U::FACE);
  }
  if (a.base == BaseKind::American && a.lotBeforeR != LotBeforeRRule::Lot) {
    pair(U::LOT, U::NORTH);  // "orange" with the NORTH vowel
    pair(U::LOT, U::FORCE);  // coral = choral
  }
  // Two units said alike through a third are said alike too: weak KIT = schwa = STRUT.
  std::array<int, kUnitCount> group{};
  for (int u = 0; u < kUnitCount; ++u) {
    group[static_cast<std::size_t>(u)] = u;
  }
  const std::function<int(int)> find = [&](int u) {
    return group[static_cast<std::size_t>(u)] == u ? u : find(group[static_cast<std::size_t>(u)]);
  };
  const auto unitNamed = [](std::string_view name) {
    for (int u = 0; u < kUnitCount; ++u) {
      if (unitName(static_cast<Unit>(u)) == name) {
        return u;
      }
    }
    return -1;
  };
  for (const std::string& merger : licensed) {
    const std::size_t equals = merger.find('=');
    if (equals == std::string::npos) {
      continue;
    }
    const int x = unitNamed(std::string_view(merger).substr(0, equals));
    const int y = unitNamed(std::string_view(merger).substr(equals + 1));
    group[static_cast<std::size_t>(find(x))] = find(y);
  }
  for (int x = 0; x < kUnitCount; ++x) {
    for (int y = x + 1; y < kUnitCount; ++y) {
      if (find(x) == find(y)) {
        pair(static_cast<Unit>(x), static_cast<Unit>(y));
      }
    }
  }
  return licensed;
}

std::set<Sound> soundsOf(const AccentProfile& a) {
  std::set<Sound> sounds;
  for (int u = 0; u < kFirstVowelUnit; ++u) {
    sounds.insert(consonantSound(static_cast<Unit>(u == static_cast<int>(U::Yod) ? 0 : u)));
  }
  for (Sound v : a.vowels) {
    sounds.insert(v);
  }
  if (a.bath != BathRule::None) {
    sounds.insert(a.bathVowel);
  }
  if (a.flapping) {
    sounds.insert(S::Flap);
  }
  if (a.glottalling) {
    sounds.insert(S::Glottal);
  }
  if (a.canadianRaising) {
    sounds.insert(S::RaisedPrice);
    sounds.insert(S::RaisedMouth);
  }
  if (a.priceMonophthong) {
    sounds.insert(S::LongA);
  }
  if (a.shortASplit || a.trapBeforeG) {
    sounds.insert(S::TenseE);
  }
  return sounds;
}

}  // namespace zrv::words_tool
