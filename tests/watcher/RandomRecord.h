#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QRandomGenerator>

// Deterministic stream of transcript-like lines for differential checks: records near the edges
// of the prompt rules, with shuffled keys, \u escapes, non-ASCII text, nesting, and now and then a
// damaged byte sequence.
class RandomRecord {
public:
    explicit RandomRecord(quint32 seed)
        : m_random(seed) {}

    QByteArray next();

private:
    using Fields = QList<QPair<QByteArray, QByteArray>>; // key text, value JSON

    bool chance(int percent);
    QByteArray pick(const QList<QByteArray>& choices);
    void maybeAdd(Fields& fields, int percent, const QByteArray& key, const QByteArray& value);
    QByteArray usually(const QByteArray& text, const QList<QByteArray>& others);
    QByteArray string(const QByteArray& utf8);
    QByteArray object(Fields fields);
    QByteArray filler(int depth);
    QByteArray text();
    QByteArray message();
    QByteArray record();

    QRandomGenerator m_random;
    int m_escapePercent = 0;
};
