// Skin data: a small text format of "name = value" lines (FORMAT.md), and colour shifts.
#include "skin.h"

static const char* const kColourNames[kSkinColourCount] = {
    "window",       "text",           "group.frame",   "group.text",      "button.face",    "button.hot",
    "button.pressed", "button.text",  "button.border", "edit.face",       "edit.text",      "edit.border",
    "edit.focus",   "caption.active", "caption.inactive", "caption.text", "caption.button.hot"};

static const char kSignature[] = "ctskin 1";

typedef struct Cursor {
  const unsigned char* at;
  const unsigned char* end;
} Cursor;

static int IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\r'; }

static void SkipBlanks(Cursor* c) {
  while (c->at < c->end && IsBlank(*c->at)) ++c->at;
}

// The next line without its end, blanks trimmed from both sides.
static Cursor NextLine(Cursor* c) {
  Cursor line;
  SkipBlanks(c);
  line.at = c->at;
  while (c->at < c->end && *c->at != '\n') ++c->at;
  line.end = c->at;
  if (c->at < c->end) ++c->at;
  while (line.end > line.at && IsBlank(line.end[-1])) --line.end;
  return line;
}

static int Equals(Cursor text, const char* word) {
  for (; text.at < text.end; ++text.at, ++word)
    if (*word == '\0' || *text.at != (unsigned char)*word) return 0;
  return *word == '\0';
}

static int HexDigit(unsigned char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "#RRGGBB" as a COLORREF (0x00BBGGRR), or -1.
static long ReadColour(Cursor value) {
  if (value.end - value.at != 7 || value.at[0] != '#') return -1;
  long rgb = 0;
  for (int i = 1; i < 7; ++i) {
    const int digit = HexDigit(value.at[i]);
    if (digit < 0) return -1;
    rgb = rgb << 4 | digit;
  }
  return (long)RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// A whole number from 0 to 99, or -1.
static int ReadSmallNumber(Cursor value) {
  int number = 0;
  if (value.at == value.end || value.end - value.at > 2) return -1;
  for (; value.at < value.end; ++value.at) {
    if (*value.at < '0' || *value.at > '9') return -1;
    number = number * 10 + (*value.at - '0');
  }
  return number;
}

// Splits "name = value" at its first '='.
static int SplitSetting(Cursor line, Cursor* name, Cursor* value) {
  const unsigned char* equals = line.at;
  while (equals < line.end && *equals != '=') ++equals;
  if (equals == line.end) return 0;
  name->at = line.at;
  name->end = equals;
  while (name->end > name->at && IsBlank(name->end[-1])) --name->end;
  value->at = equals + 1;
  value->end = line.end;
  SkipBlanks(value);
  return name->at < name->end;
}

static int ApplySetting(Cursor name, Cursor value, SkinLook* look) {
  if (Equals(name, "radius")) {
    const int radius = ReadSmallNumber(value);
    if (radius < 0) return 0;
    look->radius = radius;
    return 1;
  }
  for (int i = 0; i < kSkinColourCount; ++i) {
    if (!Equals(name, kColourNames[i])) continue;
    const long colour = ReadColour(value);
    if (colour < 0) return 0;
    look->colour[i] = (COLORREF)colour;
    return 1;
  }
  return 1;  // a name of a later format: passed over
}

int SkinReadData(const unsigned char* data, unsigned length, SkinLook* look) {
  if (data == 0) return 0;
  Cursor c = {data, data + length};
  SkinLook read = *look;
  int sawSignature = 0;
  while (c.at < c.end) {
    const Cursor line = NextLine(&c);
    if (line.at == line.end || *line.at == ';') continue;
    if (!sawSignature) {
      if (!Equals(line, kSignature)) return 0;
      sawSignature = 1;
      continue;
    }
    Cursor name, value;
    if (!SplitSetting(line, &name, &value) || !ApplySetting(name, value, &read)) return 0;
  }
  if (!sawSignature) return 0;
  *look = read;
  return 1;
}

static int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

// Hue in degrees (0-359), saturation and value 0-255.
static COLORREF ShiftColour(COLORREF colour, int hue, int saturation) {
  const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
  const int max = r > g ? (r > b ? r : b) : (g > b ? g : b);
  const int min = r < g ? (r < b ? r : b) : (g < b ? g : b);
  const int delta = max - min;
  if (delta == 0) return colour;  // a grey has no hue to turn
  int h;
  if (max == r) h = 60 * (g - b) / delta;
  else if (max == g) h = 120 + 60 * (b - r) / delta;
  else h = 240 + 60 * (r - g) / delta;
  h = ((h + hue) % 360 + 360) % 360;
  const int s = Clamp(delta * 255 / max * (100 + saturation) / 100, 0, 255);
  const int v = max;
  const int low = v * (255 - s) / 255;
  const int sector = h / 60, within = h % 60;
  const int falling = v - (v - low) * within / 60, rising = low + (v - low) * within / 60;
  switch (sector) {
    case 0: return RGB(v, rising, low);
    case 1: return RGB(falling, v, low);
    case 2: return RGB(low, v, rising);
    case 3: return RGB(low, falling, v);
    case 4: return RGB(rising, low, v);
    default: return RGB(v, low, falling);
  }
}

void SkinAdjustLook(const SkinLook* base, int hue, int saturation, SkinLook* adjusted) {
  hue = Clamp(hue, -180, 180);
  saturation = Clamp(saturation, -100, 100);
  *adjusted = *base;
  if (hue == 0 && saturation == 0) return;
  for (int i = 0; i < kSkinColourCount; ++i) adjusted->colour[i] = ShiftColour(base->colour[i], hue, saturation);
}
