#pragma once

#include <QWidget>

class SwitchToggle;

// A caption on the left and a switch on the right. The row only reports the user's flips; what
// the switch shows is set from outside, so it can follow a source that may refuse the change.
class ToggleRow : public QWidget {
    Q_OBJECT

public:
    ToggleRow(const QString& caption, const QString& switchObjectName, QWidget* parent = nullptr);

    bool isChecked() const;
    void setChecked(bool on);

Q_SIGNALS:
    void toggledByUser(bool on);

private:
    SwitchToggle* m_switch;
};
