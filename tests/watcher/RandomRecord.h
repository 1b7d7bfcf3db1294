#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QRandomGenerator>

// Deterministic stream of transcript-like lines for differential checks: records that sit
// near the edges of the prompt rules, with shuffled keys, escapes, non-ASCII text, nesting,
// stray whitespace, and now and then a damaged byte sequence.
class RandomRecord {
public:
    explicit RandomRecord(quint32 seed);

    QByteArray next();

private:
    using Field = QPair<QByteArray, QByteArray>; // key text, value JSON

    bool chance(int percent);
    int below(int bound);
    QByteArray pick(std::initializer_list<const char*> choices);
    QByteArray space();
    QByteArray string(const QByteArray& utf8);
    QByteArray object(QList<Field> fields);
    QByteArray array(const QList<QByteArray>& values);
    QByteArray filler(int depth);
    QByteArray text();
    QByteArray oneOf(int percent, const QByteArray& usual, std::initializer_list<const char*> others);
    QByteArray flag();
    QByteArray block();
    QByteArray content();
    QByteArray message();
    QByteArray record();
    QByteArray damaged(QByteArray line);

    QRandomGenerator m_random;
    int m_escapePercent = 0;
};
