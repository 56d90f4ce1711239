#pragma once

#include <QValidator>

// Characters of the 7-bit range only: the Area Code, User Code and Program
// PassWord fields, which the radio keeps one byte per character.
class SevenBitValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
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
