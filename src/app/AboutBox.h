#pragma once

#include <QDialog>
#include <QStringList>
#include <QUrl>

#include <functional>

class QLabel;
class QPainter;

// Help > About: the product and version lines, who makes this program, and a
// the licence it is released under, and a link to its user guide. Every text
// stands on light grey; a left click on the user-guide line opens the guide.
class AboutBox : public QDialog
{
    Q_OBJECT

public:
    using UrlOpener = std::function<void(const QUrl&)>;

    static const QString title;
    static const QString productLine;
    static const QString versionLine;
    static const QStringList makerLines;
    static const QString licenceLine;
    static const QString guideLine;

    explicit AboutBox(const QUrl& guide, QWidget* parent = nullptr);

    QUrl guide() const;
    // Replaces the way the guide is opened; the default is QDesktopServices::openUrl.
    void setUrlOpener(UrlOpener opener);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void paintPicture(QPainter& painter) const;

    QUrl m_guide;
    UrlOpener m_opener;
    QWidget* m_picture = nullptr;
    QLabel* m_guideLine = nullptr;
};
