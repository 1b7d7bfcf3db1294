#pragma once

#include <QAbstractButton>
#include <QStringList>

class QMenu;

// The exercise pull-down: a card showing the current exercise with an up-down chevron, which
// opens a menu of the catalogue's names. The menu marks no current choice; the card shows
// whatever it is told, also a name the catalogue does not hold.
class ExerciseMenu : public QAbstractButton {
    Q_OBJECT

public:
    explicit ExerciseMenu(const QStringList& names, QWidget* parent = nullptr);

    QString currentExercise() const { return m_current; }
    void setCurrentExercise(const QString& name);
    QMenu* menu() const { return m_menu; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void exerciseChosen(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void openMenu();

    QString m_current;
    QMenu* m_menu;
    QFont m_textFont;
    QFont m_chevronFont;
};
