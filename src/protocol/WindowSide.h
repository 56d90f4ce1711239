#pragma once

#include <string>
#include <string_view>

enum class MessageButtons { Ok, OkCancel };
enum class MessageIcon { None, Stop, Exclamation };
enum class MessageResult { Ok, Cancel };

// What the protocol needs of the window (or of whatever stands in for it).
class WindowSide {
  public:
    virtual ~WindowSide() = default;

    // 1 English, 2 Chinese.
    virtual int LangType() const = 0;
    // Shows the record in the window.
    virtual void ShowByData() = 0;
    // A Read has brought the radio's whole information area (the image),
    // before the window shows it. A line to add under "Read Complete!", or
    // an empty text.
    virtual std::u16string RadioRead() { return {}; }
    // Takes the window's fields into the record; may ask the band question.
    virtual void GetDataByShow() = 0;
    // Toggles the window between its idle and its running batch face;
    // true when it was running (operation mode 3) and is now idle.
    virtual bool ToggleBatchFace() = 0;
    // The batch's status line: what the operator should do now.
    virtual void SetStatusLine(std::u16string_view text) = 0;
    // The number of the radio a batch is writing.
    virtual void SetRadioNumber(std::u16string_view text) = 0;
    // Called once a radio is read, before its first W block; false refuses
    // the write: END goes out, nothing is written and the operation ends
    // without a message (the window side has said why).
    virtual bool ReadyToWrite() { return true; }
    // A modal message box with the window's title.
    virtual MessageResult ShowMessage(std::u16string_view text, MessageButtons buttons,
                                      MessageIcon icon) = 0;
};
