#pragma once

#include <QFont>
#include <QList>
#include <QPointF>
#include <QString>
#include <QTextLayout>
#include <memory>

class QPainter;
class QPaintDevice;

// A piece of text in one font.
struct Span
{
    QString text;
    QFont font;
};

// Text in one or more fonts, wrapped to a width, measured and painted line by line, so a long
// text can continue on the next page where a line ends.
class TextBlock
{
public:
    TextBlock(QPaintDevice *device, double width, QList<Span> spans,
              Qt::Alignment alignment = Qt::AlignLeft);

    double width() const { return m_width; }
    int lineCount() const { return m_layout->lineCount(); }
    double height() const { return heightOf(0, lineCount()); }
    double heightOf(int firstLine, int endLine) const;
    // How many lines from `firstLine` fit into `room` (at least one when any is left and
    // `atLeastOne`, so a line taller than a whole page still moves on).
    int linesFitting(int firstLine, double room, bool atLeastOne) const;
    // The natural width of the widest line.
    double naturalWidth() const;

    void paint(QPainter &painter, const QPointF &topLeft) const
    {
        paintLines(painter, topLeft, 0, lineCount());
    }
    void paintLines(QPainter &painter, const QPointF &topLeft, int firstLine, int endLine) const;

private:
    double m_width;
    std::unique_ptr<QTextLayout> m_layout;
};
