// The message log and its process-wide instance.
#include "animator/engine/StdOut.h"

#include <memory>

namespace quillon {

namespace {
std::unique_ptr<TStdOut> gStdOut;
}

void TStdOut::Message(const std::string& text) { Output(text, TMessageKind::Message); }
void TStdOut::Notify(const std::string& text) { Output(text, TMessageKind::Notify); }
void TStdOut::Warning(const std::string& text) { Output("[Warning] " + text, TMessageKind::Warning); }
void TStdOut::Error(const std::string& text) { Output("[Error] " + text, TMessageKind::Error); }

void TStdOut::Clear() {
  if (Sink) Sink->ClearLines();
}

void TStdOut::Output(const std::string& line, TMessageKind kind) {
  if (Sink) Sink->AppendLine(line, kind);
}

const char* TStdOut::SoundFile(TMessageKind kind) {
  switch (kind) {
    case TMessageKind::Notify: return "notify.wav";
    case TMessageKind::Warning: return "warning.wav";
    case TMessageKind::Error: return "error.wav";
    default: return "";
  }
}

unsigned TStdOut::Colour(TMessageKind kind) {
  switch (kind) {
    case TMessageKind::Warning: return 0x00FFFF;
    case TMessageKind::Error: return 0x0000FF;
    default: return 0xFFFFFF;
  }
}

void CreateStdOut() {
  if (!gStdOut) gStdOut = std::make_unique<TStdOut>();
}

void FreeStdOut() { gStdOut.reset(); }

// Host programs and tests that never created the log still get one, so engine code can always
// report; the programs create it at start-up.
TStdOut& StdOut() {
  CreateStdOut();
  return *gStdOut;
}

}  // namespace quillon
