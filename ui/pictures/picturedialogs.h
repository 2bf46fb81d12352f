#pragma once

#include "core/picture/pictureops.h"

#include <QDialog>
#include <QSpinBox>

#include <functional>

class QDoubleSpinBox;
class QSlider;

namespace qb {

// A count typed beyond its range is replaced in the field by the nearest
// value of the range, rather than refused keystroke by keystroke.
class CClampingSpinBox : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& input, int& pos) const override;
};

// "Rotate Image": "Angle:" in degrees, clockwise.
class CRotateDialog : public QDialog {
    Q_OBJECT
public:
    explicit CRotateDialog(QWidget* parent = nullptr);
    double angle() const;
    void accept() override;

private:
    QDoubleSpinBox* m_angle;
};

// "Number of grid squares": each count (1..127) is applied as soon as it is
// edited, so that the overlay follows; Cancel puts back the counts the dialog
// opened with.
class CGridSquaresDialog : public QDialog {
    Q_OBJECT
public:
    using Apply = std::function<void(GridSquares)>;
    CGridSquaresDialog(GridSquares initial, Apply apply, QWidget* parent = nullptr);
    GridSquares squares() const;
    void reject() override;

private:
    GridSquares m_initial;
    Apply m_apply;
    CClampingSpinBox* m_across;
    CClampingSpinBox* m_down;
};

// "Brightness and Contrast": every change is shown at once through
// `preview`; the picture itself is left alone until OK.
class CBrightnessContrastDialog : public QDialog {
    Q_OBJECT
public:
    using Preview = std::function<void(int brightness, int contrast)>;
    explicit CBrightnessContrastDialog(Preview preview, QWidget* parent = nullptr);
    int brightness() const;
    int contrast() const;

private:
    QSpinBox* pair(const char* name, int limit, QSlider*& slider);
    Preview m_preview;
    QSpinBox* m_brightness;
    QSpinBox* m_contrast;
};

} // namespace qb
