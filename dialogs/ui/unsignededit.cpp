#include "dialogs/ui/unsignededit.h"

#include <QLineEdit>
#include <algorithm>
#include <limits>

#include "dialogs/workflowsettings.h"

CUnsignedEdit::CUnsignedEdit(QWidget* parent) : QAbstractSpinBox(parent) {
  setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  setMinimumWidth(90);
}

void CUnsignedEdit::SetValue(int value) {
  SetText(QString::number(value));
}

std::optional<int> CUnsignedEdit::Value() const {
  return velk::ParseUnsigned(Text().toStdString());
}

QString CUnsignedEdit::Text() const {
  return lineEdit()->text();
}

void CUnsignedEdit::SetText(const QString& text) {
  lineEdit()->setText(text);
}

void CUnsignedEdit::stepBy(int steps) {
  const long long next = static_cast<long long>(Value().value_or(0)) + steps;
  const long long bounded = std::clamp<long long>(next, 0, std::numeric_limits<int>::max());
  SetValue(static_cast<int>(bounded));
  lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled CUnsignedEdit::stepEnabled() const {
  return StepUpEnabled | StepDownEnabled;
}
