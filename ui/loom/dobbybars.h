#pragma once

#include <QToolBar>

class QLineEdit;
class QToolButton;

namespace qb {

// The dobby control bar: the current pick and the weaver's six buttons
// (Same Shed, Unweave, Reverse, Loop, Markers, Stop). Hidden until a run starts.
class CDobbyHeadBar : public QToolBar {
    Q_OBJECT
public:
    explicit CDobbyHeadBar(QWidget* parent = nullptr);

    // Shows the pick as the weaver counts it (1-based).
    void setPick(int shown);
    QString pickText() const;
    void setToggles(bool unweave, bool reverse, bool loop);
    void setSameShedEnabled(bool on);
    QToolButton* button(const char* name) const;
    QLineEdit* pickField() const { return m_pick; }

signals:
    void sameShed();
    void unweave();
    void reverse();
    void loop();
    void markers();
    void stop();

private:
    QToolButton* addButton(const char* name, const QString& text, const QString& tip, bool checkable);

    QLineEdit* m_pick = nullptr;
};

// The repeat-count bar: how often the section has been woven in a loop.
class CDobbyRepeatCounter : public QToolBar {
    Q_OBJECT
public:
    explicit CDobbyRepeatCounter(QWidget* parent = nullptr);
    void setCount(int count);
    QString countText() const;

private:
    QLineEdit* m_count = nullptr;
};

} // namespace qb
