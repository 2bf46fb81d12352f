#pragma once

#include <QDialog>
#include <QSpinBox>

#include <functional>

namespace qb {

class CQuillabyDoc;

// A pick spin box whose arrows can run the other way, so that "up" moves
// towards the top of a treadling drawn from the top down.
class CPickSpinBox : public QSpinBox {
    Q_OBJECT
public:
    using QSpinBox::QSpinBox;
    void setInverted(bool on) { m_inverted = on; }
    void stepBy(int steps) override { QSpinBox::stepBy(m_inverted ? -steps : steps); }

private:
    bool m_inverted = false;
};

// "Set Dobby Pick": chooses the current pick (shown 1-based) with a preview of
// the chosen pick in the panes.
class CSetDobbyPickDialog : public QDialog {
    Q_OBJECT
public:
    // `nextMarker(q)` is the first marker after 0-based pick q (0 when none).
    CSetDobbyPickDialog(CQuillabyDoc& doc, int currentPick, bool topDown, std::function<int(int)> nextMarker,
                        QWidget* parent = nullptr);
    ~CSetDobbyPickDialog() override;

    int value() const { return m_field->value(); }
    void setValue(int shown) { m_field->setValue(shown); }
    CPickSpinBox* field() const { return m_field; }
    // "Next Marker": jumps to the next marker's pick (the last of its section).
    void nextMarker();
    // The pick last previewed (1-based), so its row can be put back.
    int previewed() const { return m_previewed; }

protected:
    CSetDobbyPickDialog(CQuillabyDoc& doc, int currentPick, bool topDown, std::function<int(int)> nextMarker,
                        const QString& caption, const QString& label, QWidget* parent);
    void addHints();

private:
    void preview(int shown);

    CQuillabyDoc& m_doc;
    std::function<int(int)> m_nextMarker;
    CPickSpinBox* m_field = nullptr;
    int m_previewed = 0;
    int m_markedBefore = -1;
};

// "Set Dobby Markers": adds or removes the marker at the chosen pick, or all.
class CSetDobbyMarker : public CSetDobbyPickDialog {
    Q_OBJECT
public:
    enum Action { None, Add, Remove, RemoveAll };
    CSetDobbyMarker(CQuillabyDoc& doc, int currentPick, bool topDown, std::function<int(int)> nextMarker,
                    QWidget* parent = nullptr);
    Action action() const { return m_action; }
    void choose(Action a);

private:
    Action m_action = None;
};

// "Repeat Counter": sets the repeat count, 0 to 999.
class CRepeatCounterDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMax = 999;
    explicit CRepeatCounterDialog(int count, QWidget* parent = nullptr);
    int value() const { return m_field->value(); }
    QSpinBox* field() const { return m_field; }

private:
    QSpinBox* m_field = nullptr;
};

} // namespace qb
