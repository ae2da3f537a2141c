#include "tests/host/interleaving/sequence.h"

#include <array>
#include <charconv>
#include <sstream>
#include <utility>

#include "platform/text.h"
#include "tests/host/interleaving/vocabulary.h"

namespace interleaving {

namespace {

struct AnchorName {
  Anchor anchor;
  std::string_view name;
  std::string_view call;
};

constexpr std::array<AnchorName, 7> kAnchors{{
    {Anchor::HandOver, "hand-over", "ShowWindow Start Hide"},
    {Anchor::PanelCreated, "panel", "CreateWindow Panel"},
    {Anchor::Optimization, "optimization", "Disable Panel.图形按钮1"},
    {Anchor::Trim, "trim", "EmptyWorkingSet"},
    {Anchor::Pin, "pin", "SetAffinityMask"},
    {Anchor::Retune, "retune", "StartTimer Panel.时钟4"},
    {Anchor::MessageBox, "box", "MessageBox"},
}};

std::string_view NameOf(Anchor anchor) {
  for (const AnchorName& a : kAnchors)
    if (a.anchor == anchor) return a.name;
  return {};
}

std::optional<Anchor> AnchorNamed(std::string_view name) {
  for (const AnchorName& a : kAnchors)
    if (a.name == name) return a.anchor;
  return std::nullopt;
}

std::string Utf8(std::string_view gbk) {
  return platform::Utf16ToMultiByte(platform::kUtf8CodePage, platform::MultiByteToUtf16(platform::kGbkCodePage, gbk));
}

std::string Gbk(std::string_view utf8) {
  return platform::Utf16ToMultiByte(platform::kGbkCodePage, platform::MultiByteToUtf16(platform::kUtf8CodePage, utf8));
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& number) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  return error == std::errc() && end == text.data() + text.size();
}

bool ParseScene(std::istringstream& words, Scene& scene, std::string& error) {
  std::string word;
  while (words >> word) {
    const std::size_t equals = word.find('=');
    const std::string key = word.substr(0, equals);
    const std::string value = equals == std::string::npos ? std::string() : word.substr(equals + 1);
    bool read = true;
    if (key == "notice") scene.noticeSeen = value == "1";
    else if (key == "game") scene.game = value;
    else if (key == "companion") scene.companion = value == "1";
    else if (key == "helpers") scene.helpers = value == "1";
    else if (key == "room") scene.room = value;
    else if (key == "cores") read = ParseNumber(value, scene.cores);
    else if (key == "box") read = ParseNumber(value, scene.boxMs);
    else read = false;
    if (!read) {
      error = "cannot read " + word;
      return false;
    }
  }
  return true;
}

// "+N" or "@anchor#K+N".
bool ParseWhen(std::string_view when, Step& step) {
  if (when.starts_with("+")) return ParseNumber(when.substr(1), step.delayMs);
  if (!when.starts_with("@")) return false;
  const std::size_t hash = when.find('#'), plus = when.find('+');
  if (hash == std::string_view::npos || plus == std::string_view::npos || plus < hash) return false;
  const std::optional<Anchor> anchor = AnchorNamed(when.substr(1, hash - 1));
  if (!anchor) return false;
  step.anchor = *anchor;
  return ParseNumber(when.substr(hash + 1, plus - hash - 1), step.occurrence) &&
         ParseNumber(when.substr(plus + 1), step.delayMs);
}

bool ParseStep(std::istringstream& words, const std::string& when, Step& step, std::string& error) {
  std::getline(words >> std::ws, step.verb, ' ');
  std::getline(words, step.object);
  if (!ParseWhen(when, step)) error = "cannot read the moment " + when;
  else if (!IsKnown(step.verb, step.object)) error = "unknown action " + step.verb + " " + step.object;
  return error.empty();
}

}  // namespace

std::string_view CallOf(Anchor anchor) {
  for (const AnchorName& a : kAnchors)
    if (a.anchor == anchor) return a.call;
  return {};
}

std::string ToText(const Sequence& sequence) {
  const Scene& scene = sequence.scene;
  std::ostringstream text;
  text << "scene notice=" << scene.noticeSeen << " game=" << scene.game << " companion=" << scene.companion
       << " helpers=" << scene.helpers << " room=" << scene.room << " cores=" << scene.cores << " box=" << scene.boxMs
       << '\n';
  for (const Step& step : sequence.steps) {
    if (step.anchor == Anchor::None) text << '+' << step.delayMs;
    else text << '@' << NameOf(step.anchor) << '#' << step.occurrence << '+' << step.delayMs;
    text << ' ' << step.verb;
    if (!step.object.empty()) text << ' ' << step.object;
    text << '\n';
  }
  return Utf8(text.str());
}

std::optional<Sequence> ParseSequence(std::string_view utf8, std::string& error) {
  std::istringstream lines(Gbk(utf8));
  Sequence sequence;
  bool sceneRead = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.ends_with('\r')) line.pop_back();
    if (line.empty() || line.starts_with('#')) continue;
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "scene") {
      sceneRead = ParseScene(words, sequence.scene, error);
      if (!sceneRead) return std::nullopt;
      continue;
    }
    Step step;
    if (!ParseStep(words, first, step, error)) return std::nullopt;
    sequence.steps.push_back(std::move(step));
  }
  if (!sceneRead) {
    error = "no scene line";
    return std::nullopt;
  }
  return sequence;
}

}  // namespace interleaving
