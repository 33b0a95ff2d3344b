#include "print/textblock.h"

#include <QPainter>
#include <QTextOption>

TextBlock::TextBlock(QPaintDevice *device, double width, QList<Span> spans, Qt::Alignment alignment)
    : m_width(width)
{
    QString text;
    QList<QTextLayout::FormatRange> formats;
    for (const Span &span : spans) {
        QTextLayout::FormatRange range;
        range.start = static_cast<int>(text.size());
        range.length = static_cast<int>(span.text.size());
        range.format.setFont(span.font);
        formats.append(range);
        text += span.text;
    }
    // Memo line breaks (CR LF or LF) become line separators the layout honours.
    text.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
    text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    text.replace(QLatin1Char('\r'), QChar::LineSeparator);

    const QFont base = spans.isEmpty() ? QFont() : spans.front().font;
    m_layout = std::make_unique<QTextLayout>(text, base, device);
    m_layout->setFormats(formats);
    // Keep the shaped glyphs: without the cache, painting shapes every line a second time.
    m_layout->setCacheEnabled(true);
    QTextOption option(alignment);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_layout->setTextOption(option);
    m_layout->beginLayout();
    double y = 0;
    for (;;) {
        QTextLine line = m_layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    m_layout->endLayout();
}

double TextBlock::heightOf(int firstLine, int endLine) const
{
    double height = 0;
    for (int i = firstLine; i < endLine && i < lineCount(); ++i)
        height += m_layout->lineAt(i).height();
    return height;
}

int TextBlock::linesFitting(int firstLine, double room, bool atLeastOne) const
{
    int line = firstLine;
    double used = 0;
    while (line < lineCount()) {
        const double next = m_layout->lineAt(line).height();
        if (used + next > room && !(atLeastOne && line == firstLine))
            break;
        used += next;
        ++line;
    }
    return line - firstLine;
}

double TextBlock::naturalWidth() const
{
    double widest = 0;
    for (int i = 0; i < lineCount(); ++i)
        widest = std::max(widest, m_layout->lineAt(i).naturalTextWidth());
    return widest;
}

void TextBlock::paintLines(QPainter &painter, const QPointF &topLeft, int firstLine,
                           int endLine) const
{
    if (firstLine >= endLine || firstLine >= lineCount())
        return;
    const double top = m_layout->lineAt(firstLine).y();
    for (int i = firstLine; i < endLine && i < lineCount(); ++i)
        m_layout->lineAt(i).draw(&painter, topLeft - QPointF(0, top));
}
