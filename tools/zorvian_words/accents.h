#pragma once

#include <cstdint>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "lexical_sets.h"
#include "words/accent_catalog.h"

namespace zrv::words_tool {

/// The sounds an accent says, each with one Zorvian spelling (see spellingOf). Two sounds share a
/// spelling only when no accent uses both.
enum class Sound : std::uint8_t {
  // clang-format off
  B, CH, D, DH, F, G, HH, JH, K, L, M, N, NG, P, R, S, SH, T, TH, V, W, Y, Z, ZH,
  Flap,          // the tap of "water" and "ladder" in the accents that flap t and d alike
  Glottal,       // the glottal stop of London "butter"
  Kit,           // i
  Dress,         // e
  Trap,          // a
  RoundedLot,    // o: the rounded short o of British "hot"
  OpenA,         // ā: father, American "hot"
  Strut,         // u: strut, and the schwa of "about" and r-less "butter"
  Foot,          // ú
  OpenO,         // å: thought, north
  Nurse,         // ů: the r-less long vowel of "bird"
  Fleece,        // ī
  Face,          // ē
  Goat,          // ō
  Goose,         // ū
  Price,         // ai
  Choice,        // oi
  Mouth,         // au
  NearDiphthong, // iu: r-less "near"
  SquareVowel,   // է: "square", "Mary"
  CureDiphthong, // úu: r-less "cure"
  TenseE,        // é: a long close e (one-vowel FACE, tensed TRAP)
  TenseO,        // ó: a long close o (one-vowel GOAT)
  LongA,         // á: a long front a (Southern "time", Boston "car")
  RaisedPrice,   // ui: Canadian "right"
  RaisedMouth,   // ou: Canadian "about"
  ShiftedFace,   // ei: Australian and London "face"
  ShiftedPrice,  // āi: Australian and London "price"
  ShiftedGoat,   // ou: London and Birmingham "goat"
  BackedPrice,   // åi: Birmingham "price", apart from its "choice"
  LoweredFace,   // ui: Birmingham "face"
  FrontedMouth,  // ao: Australian "mouth"
  // clang-format on
};

inline constexpr int kSoundCount = static_cast<int>(Sound::FrontedMouth) + 1;

/// The Zorvian spelling of a sound: lower-case ASCII letters, the special letters that the
/// program's case transfer knows, and ð, ɾ and ʔ, which have no capitals.
std::string_view spellingOf(Sound sound);

/// A short name of the sound for reports ("Flap", "OpenA").
std::string_view soundName(Sound sound);

bool isVowelSound(Sound sound);

/// One sound of a word in an accent, with the base segment it comes from.
struct Sounded {
  Sound sound;
  std::int8_t stress;
  std::int16_t base;  // index into the base word's segments
};

/// A word as an accent says it: its sounds, and the base segments the accent drops (with why).
struct AccentWord {
  std::vector<Sounded> sounds;
  std::vector<std::pair<std::int16_t, std::string_view>> dropped;
};

/// What an accent does with the yod of "tune".
enum class YodRule : std::uint8_t { Drop, Keep, Coalesce };
/// What an accent does with the th of "think" and "this".
enum class ThRule : std::uint8_t { Keep, Stop, Front };
/// How far an accent has BATH apart from TRAP.
enum class BathRule : std::uint8_t { None, Full, AustralianList, NewEnglandList };
/// The vowel of an American accent in orange, sorry, moral: as the dictionary has it (NORTH in
/// orange, LOT in sorry), always LOT (New York, Boston) or always NORTH (Canada).
enum class LotBeforeRRule : std::uint8_t { AsDictionary, Lot, North };
/// Which unstressed KIT vowels an accent says as the schwa (roses = Rosa's).
enum class WeakKitRule : std::uint8_t { None, ExceptBeforeVelars, All };

/// One accent: the base it reads, the sound of each lexical set, its rules, and the mergers that
/// its handbook description licenses (the only reason two words may be spelled alike).
struct AccentProfile {
  BaseKind base = BaseKind::American;
  bool rhotic = true;
  Sound vowels[kUnitCount - kFirstVowelUnit];  // indexed by vowel unit
  BathRule bath = BathRule::None;
  Sound bathVowel = Sound::OpenA;
  YodRule yod = YodRule::Drop;
  ThRule th = ThRule::Keep;
  WeakKitRule weakKit = WeakKitRule::None;
  LotBeforeRRule lotBeforeR = LotBeforeRRule::AsDictionary;
  bool maryMarryMerry = false;  // TRAP, DRESS and SQUARE alike before r and a vowel
  bool nurseSplit = false;      // fir, fern, fur apart (Scotland)
  bool canadianRaising = false;
  bool priceMonophthong = false;  // PRICE long a except before voiceless consonants
  bool pinPen = false;            // DRESS as KIT before nasals
  bool fillFeel = false;          // FLEECE as KIT and GOOSE as FOOT before l
  bool trapBeforeG = false;       // TRAP as the FACE vowel before g
  bool shortASplit = false;       // TRAP tensed before m n b d g f th s sh closing a syllable
  bool flapping = false;          // t and d tapped between a vowel and a weak vowel
  bool glottalling = false;       // t as a glottal stop after a vowel, not before a strong vowel
  bool hDropping = false;
  bool lVocalisation = false;
  bool vwMerger = false;
  bool wh = false;                            // which ≠ witch
  std::vector<std::vector<Unit>> mergedSets;  // lexical sets said alike
};

/// The profile of an accent of the catalog.
const AccentProfile& profileOf(const AccentTable& accent);

/// The accent's realisation of a base word.
AccentWord realise(const BaseWord& word, const AccentProfile& accent);

/// The Zorvian spelling of an accent word.
std::string spell(const AccentWord& word);

/// Every merger the accent licenses, as "A=B" of unit names (sorted) or "drop:X" for a unit it
/// drops, from its merged sets and its rules.
std::set<std::string> licensedMergers(const AccentProfile& accent);

/// The sounds the accent uses, for the check that no two of them share a spelling.
std::set<Sound> soundsOf(const AccentProfile& accent);

}  // namespace zrv::words_tool
