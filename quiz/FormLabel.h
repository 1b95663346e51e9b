#pragma once

#include <QLabel>

// A label of the window. With auto-size on, its box follows its caption from
// its top-left corner whenever the caption changes, and first fits it when
// the label is about to be shown: measuring text loads its font, which the
// name prompt should not wait for.
class FormLabel : public QLabel
{
    Q_OBJECT

public:
    explicit FormLabel(QWidget *parent = nullptr);

    void setAutoSize(bool on) { m_autoSize = on; }
    void setCaption(const QString &caption);
    QString caption() const { return text(); }
    void setTextColour(const QColor &colour);
    // Screen readers read the caption after these words, as one sentence.
    void setSpokenAfter(const QString &words);

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_autoSize = false;
    QString m_spokenAfter;
};
