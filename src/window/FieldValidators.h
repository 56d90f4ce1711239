#pragma once

#include <QValidator>

// Each drops control characters (U+0000-U+001F, U+007F-U+009F) from what is
// entered, as a pasted spreadsheet cell's CR LF.

// Characters of the 7-bit range only: the Area Code, User Code and Program
// PassWord fields, which the radio keeps one byte per character. A byte of
// 0x80 or above that the radio itself holds stays, and the rest of the field
// can still be edited around it.
class SevenBitValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
    // The field's text as the program set it: its characters are allowed.
    void SetHeld(const QString& text) { held_ = text; }

  private:
    QString held_;
};

// Digits and letters only: the Serial Number field.
class AlphanumericValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Texts the radio keeps in code page 936 in a field of so many bytes: the
// dealer fields. A character without a GBK form is refused.
class Cp936FieldValidator : public QValidator {
  public:
    Cp936FieldValidator(int maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}
    State validate(QString& input, int& pos) const override;

  private:
    int maxBytes_;
};
