#pragma once

#include <QFont>
#include <QWidget>

// A watched folder on one line of a card: the name of the assistant that writes there, then the
// folder's full path; a path too long for the card loses characters from its middle, so both the
// root and the last folder stay readable.
class WatchedDirectoryLine : public QWidget {
    Q_OBJECT

public:
    static constexpr int sidePadding = 10;
    static constexpr int verticalPadding = 8;

    explicit WatchedDirectoryLine(QWidget* parent = nullptr);

    QString assistant() const { return m_assistant; }
    QString path() const { return m_path; }
    void setDirectory(const QString& assistant, const QString& path);
    // The path as it fits the width the name leaves.
    QString displayedText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int nameWidth() const;

    QString m_assistant;
    QString m_path;
    QFont m_font;
};
