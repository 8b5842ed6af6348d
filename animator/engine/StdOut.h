// TStdOut: the animator's one message channel, writing lines to an attached sink (the main window's
// memo, which plays the kind's wave file and tints itself); without a sink a message is dropped.
#pragma once

#include <string>

namespace quillon {

enum class TMessageKind { Message = 0, Notify = 1, Warning = 3, Error = 4 };

class TMessageSink {
 public:
  virtual ~TMessageSink() = default;
  virtual void AppendLine(const std::string& line, TMessageKind kind) = 0;
  virtual void ClearLines() = 0;
};

class TStdOut {
 public:
  // The sink is not owned; nullptr detaches it.
  void SetSink(TMessageSink* sink) { Sink = sink; }
  TMessageSink* GetSink() const { return Sink; }

  void Message(const std::string& text);
  void Notify(const std::string& text);
  void Warning(const std::string& text);   // "[Warning] " + text
  void Error(const std::string& text);     // "[Error] " + text
  void Clear();

  // Wave file of a kind, played by the sink: none for plain messages.
  static const char* SoundFile(TMessageKind kind);
  // Memo tint of a kind, $00BBGGRR.
  static unsigned Colour(TMessageKind kind);

 private:
  void Output(const std::string& line, TMessageKind kind);
  TMessageSink* Sink = nullptr;
};

// The process-wide log, created at start-up and freed at exit.
void CreateStdOut();
void FreeStdOut();
TStdOut& StdOut();

}  // namespace quillon
