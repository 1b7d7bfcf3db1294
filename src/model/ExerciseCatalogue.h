#pragma once

#include <QString>
#include <QStringList>

// Every exercise the user can choose, in the order they are offered. Each is counted in
// repetitions alike; the first one is the default exercise.
inline const QStringList exerciseTypes{
    QStringLiteral("Pushups"),   QStringLiteral("Sit-ups"),      QStringLiteral("Squats"),
    QStringLiteral("Walking"),   QStringLiteral("Bicep Curls"),  QStringLiteral("Sudoku"),
    QStringLiteral("Crossword"), QStringLiteral("Brain Teaser"),
};

// The exercise of a fresh install, and of a stored set that names none.
inline QString defaultExerciseType() {
    return exerciseTypes.first();
}
