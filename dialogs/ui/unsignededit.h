#pragma once
// An edit for an unsigned integer with an up-down control attached. It takes
// any text, as a plain edit does; the page checks the value when it is left, so
// the user can be told what is wrong instead of keys being swallowed.

#include <QAbstractSpinBox>
#include <optional>

class CUnsignedEdit : public QAbstractSpinBox {
  Q_OBJECT
 public:
  explicit CUnsignedEdit(QWidget* parent = nullptr);

  void SetValue(int value);
  // The value shown, when the text is an unsigned integer.
  std::optional<int> Value() const;
  QString Text() const;
  void SetText(const QString& text);

  void stepBy(int steps) override;

 protected:
  StepEnabled stepEnabled() const override;
};
