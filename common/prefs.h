#pragma once
// Every value the tool set keeps in the per-user settings store, declared once: where it
// lives (application, section, key), what it reads as when the key is absent, and the text
// form it is written in. Code reads and writes a setting only through its declaration here.
#include <QString>
#include <climits>
#include <type_traits>

#include "common/paths.h"
#include "common/settings.h"

namespace tarvex {

// The stored text form of each kind of value.
template <typename T>
struct PrefForm;

template <>
struct PrefForm<QString> {
  using Literal = const char*;
  static QString FromLiteral(Literal s) { return QString::fromUtf8(s); }
  static QString ToText(const QString& v) { return v; }
  static QString FromText(const QString& s, const QString&) { return s; }
};

// "True"/"False"; read also in any case, or as a number where non-zero is true.
template <>
struct PrefForm<bool> {
  using Literal = bool;
  static bool FromLiteral(Literal b) { return b; }
  static QString ToText(bool v) { return BoolSetting(v); }
  static bool FromText(const QString& s, bool def) { return SettingToBool(s, def); }
};

// Decimal digits.
template <>
struct PrefForm<int> {
  using Literal = int;
  static int FromLiteral(Literal n) { return n; }
  static QString ToText(int v) { return QString::number(v); }
  static int FromText(const QString& s, int def) { return SettingToInt(s, def); }
};

template <typename T>
class Pref {
 public:
  using Form = PrefForm<T>;
  using Literal = typename Form::Literal;

  constexpr Pref(const char* app, const char* section, const char* key, Literal def, int lo = INT_MIN,
                 int hi = INT_MAX)
      : app_(app), section_(section), key_(key), def_(def), lo_(lo), hi_(hi) {}
  // A text that reads as its default also when it is stored empty or blank.
  struct NonBlank {};
  constexpr Pref(const char* app, const char* section, const char* key, Literal def, NonBlank)
      : app_(app), section_(section), key_(key), def_(def), nonBlank_(true) {}
  // A default that is only known at run time (the program folder).
  constexpr Pref(const char* app, const char* section, const char* key, T (*computed)())
      : app_(app), section_(section), key_(key), computed_(computed) {}

  QString App() const { return QString::fromLatin1(app_); }
  QString Section() const { return QString::fromLatin1(section_); }
  QString Key() const { return QString::fromLatin1(key_); }
  T Default() const { return computed_ ? computed_() : Form::FromLiteral(def_); }

  // The stored value; the default when the key is absent or its text does not convert, for
  // numbers also when it lies outside the declared range, and for a text declared NonBlank
  // when it holds nothing but blanks.
  T Get() const {
    const T def = Default();
    T v = Form::FromText(GetSetting(App(), Section(), Key(), Form::ToText(def)), def);
    if constexpr (std::is_same_v<T, int>) {
      if (v < lo_ || v > hi_) v = def;
    }
    if constexpr (std::is_same_v<T, QString>) {
      if (nonBlank_ && v.trimmed().isEmpty()) v = def;
    }
    return v;
  }
  // Writes the value in its stored form. False when the store could not be written; then a
  // still empty *fault tells why (see SaveSetting).
  bool Set(const T& v, QString* fault = nullptr) const {
    return SaveSetting(App(), Section(), Key(), Form::ToText(v), fault);
  }
  bool IsStored() const { return SettingExists(App(), Section(), Key()); }

 private:
  const char* app_;
  const char* section_;
  const char* key_;
  Literal def_{};
  int lo_ = INT_MIN, hi_ = INT_MAX;
  bool nonBlank_ = false;
  T (*computed_)() = nullptr;
};

using TextPref = Pref<QString>;
using BoolPref = Pref<bool>;
using IntPref = Pref<int>;

namespace prefs {

// Scrivane's editor defaults.
inline constexpr TextPref DefOpenDir{"Scrivane", "Defaults", "DefOpenDir", &DataFolder};
inline constexpr TextPref DefSaveDir{"Scrivane", "Defaults", "DefSaveDir", &DataFolder};
inline constexpr TextPref DefFontName{"Scrivane", "Defaults", "DefFontName", "Courier New", TextPref::NonBlank{}};
inline constexpr BoolPref DefFontBold{"Scrivane", "Defaults", "DefFontBold", false};
inline constexpr BoolPref DefFontItalic{"Scrivane", "Defaults", "DefFontItalic", false};
inline constexpr IntPref DefFontSize{"Scrivane", "Defaults", "DefFontSize", 8, 1, 512};
// Whether the Edit menu offers Check Syntax.
inline constexpr BoolPref ShowCheckSyntax{"Scrivane", "Defaults", "ShowCheckSyntax", false};
// The game scripts are checked for while they are edited: "jk", "mots" or "both".
inline constexpr TextPref CheckGame{"Scrivane", "Defaults", "CheckGame", "both"};

// Scrivane's main window as it was last closed: its place and size in pixels (a width of 0
// when none was stored) and whether it was maximized.
inline constexpr IntPref WindowLeft{"Scrivane", "Window", "Left", 0, -100000, 100000};
inline constexpr IntPref WindowTop{"Scrivane", "Window", "Top", 0, -100000, 100000};
inline constexpr IntPref WindowWidth{"Scrivane", "Window", "Width", 0, 0, 100000};
inline constexpr IntPref WindowHeight{"Scrivane", "Window", "Height", 0, 0, 100000};
inline constexpr BoolPref WindowMaximized{"Scrivane", "Window", "Maximized", false};

// Scrivane's recent files, entry 0 (the newest) under key "1": title ":" path.
inline constexpr TextPref MRU[4] = {{"Scrivane", "MRU", "1", ":"},
                                    {"Scrivane", "MRU", "2", ":"},
                                    {"Scrivane", "MRU", "3", ":"},
                                    {"Scrivane", "MRU", "4", ":"}};

// The author's information, written into the headers of the files Lirrel and Orvane save
// and edited in Scrivane's Options.
inline constexpr TextPref AuthName{"Pendrel", "AuthInfo", "Name", ""};
inline constexpr TextPref AuthEMail{"Pendrel", "AuthInfo", "EMail", ""};
inline constexpr TextPref AuthWebsite{"Pendrel", "AuthInfo", "Website", ""};

// The game archive Orvane's picker listed last, opened again the next time.
inline constexpr TextPref OrvaneArchive{"Orvane", "Defaults", "Archive", ""};

}  // namespace prefs
}  // namespace tarvex
