#include "platform/system/HelpViewer.h"

#include "platform/system/Seams.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include <vector>

namespace vb::Help {
namespace {

ViewerHook& hook() { return seams().helpViewer; }

QString messagePage(const QString& text) {
    return QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body><a name=\"%1\"></a><p>%2</p></body></html>")
        .arg(QLatin1String(ContentsAnchor), text.toHtmlEscaped());
}

class HelpWindow : public QWidget {
public:
    HelpWindow() {
        setObjectName(QStringLiteral("HelpWindow"));
        setWindowTitle(QStringLiteral("Vorad Logo-Kalvoren - Hilfe"));
        m_browser = new QTextBrowser(this);
        m_browser->setObjectName(QStringLiteral("HelpBrowser"));
        // The page is set as text, not as a source, so links are followed here.
        m_browser->setOpenLinks(false);
        m_browser->setOpenExternalLinks(false);
        m_back = new QPushButton(QStringLiteral("Zurück"), this);
        m_back->setObjectName(QStringLiteral("HelpBack"));
        m_back->setShortcut(QKeySequence::Back);
        m_home = new QPushButton(QStringLiteral("Inhalt"), this);
        m_home->setObjectName(QStringLiteral("HelpContents"));

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(m_back);
        buttons->addWidget(m_home);
        buttons->addStretch(1);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(m_browser, 1);

        connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) { follow(url); });
        connect(m_back, &QPushButton::clicked, this, [this] { back(); });
        connect(m_home, &QPushButton::clicked, this, [this] { jump(QLatin1String(ContentsAnchor)); });
        auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        connect(close, &QShortcut::activated, this, &QWidget::hide);
        resize(640, 560);
    }

    // Reads the file anew on every request, so an open window never shows a stale page.
    void load(const QString& path) {
        m_history.clear();
        const QFileInfo info(path);
        QFile file(path);
        if (!info.isFile())
            m_browser->setHtml(messagePage(QStringLiteral("Die Hilfedatei \"%1\" wurde nicht gefunden.").arg(path)));
        else if (!file.open(QIODevice::ReadOnly))
            m_browser->setHtml(messagePage(QStringLiteral("Die Hilfedatei \"%1\" konnte nicht gelesen werden.").arg(path)));
        else
            m_browser->setHtml(QString::fromUtf8(file.readAll()));
        m_browser->verticalScrollBar()->setValue(0);
        m_browser->scrollToAnchor(QLatin1String(ContentsAnchor));
        updateButtons();
    }

private:
    void follow(const QUrl& url) {
        // Only links inside the page lead anywhere; the help file has no others.
        if (url.scheme().isEmpty() && url.path().isEmpty() && !url.fragment().isEmpty()) jump(url.fragment());
    }
    void jump(const QString& anchor) {
        m_history.push_back(m_browser->verticalScrollBar()->value());
        m_browser->scrollToAnchor(anchor);
        updateButtons();
    }
    void back() {
        if (m_history.empty()) return;
        m_browser->verticalScrollBar()->setValue(m_history.back());
        m_history.pop_back();
        updateButtons();
    }
    void updateButtons() { m_back->setEnabled(!m_history.empty()); }

    QTextBrowser* m_browser = nullptr;
    QPushButton* m_back = nullptr;
    QPushButton* m_home = nullptr;
    std::vector<int> m_history; // scroll positions before each jump
};

QPointer<HelpWindow>& window() {
    static QPointer<HelpWindow> w;
    return w;
}

void deleteWindow() { delete window().data(); }

// Help asked for from a modal window must not be blocked by it, so the help window is then
// modal itself until it is closed; otherwise it stays beside the program's windows.
void matchModality(HelpWindow* w) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == w) return;
    const Qt::WindowModality wanted = modal ? Qt::ApplicationModal : Qt::NonModal;
    if (w->windowModality() == wanted) return;
    w->hide(); // modality only changes while hidden
    w->setWindowModality(wanted);
}

} // namespace

QWidget* Window() { return window().data(); }

void ShowContents(const QString& helpFilePath) {
    const QString anchor = QLatin1String(ContentsAnchor);
    if (hook()) {
        hook()(helpFilePath, anchor);
        return;
    }
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return;
    HelpWindow* w = window().data();
    if (!w) {
        w = new HelpWindow;
        window() = w;
        static const bool cleanup = (qAddPostRoutine(deleteWindow), true);
        (void)cleanup;
    }
    matchModality(w);
    if (w->isMinimized()) w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->show();
    w->load(helpFilePath);
    w->raise();
    w->activateWindow();
}

} // namespace vb::Help
