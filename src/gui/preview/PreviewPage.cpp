#include "gui/preview/PreviewPage.h"

#include "gui/common/TextConv.h"
#include "gui/preview/TitleCommand.h"

#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace qloom::gui {

QString PreviewPage::titleChannelScript() {
    // Every command title is preceded by the bare prefix, so two equal commands in a row (the
    // same error twice, the selection sent on press and again on release) are two changes.
    static const char* const kScript = R"JS(
(function () {
    var prefix = '%PREFIX%';
    var proto = Document.prototype;
    var plain = Object.getOwnPropertyDescriptor(proto, 'title');
    if (!plain || !plain.get || !plain.set)
        return;
    Object.defineProperty(proto, 'title', {
        configurable: true,
        enumerable: plain.enumerable,
        get: function () { return plain.get.call(this); },
        set: function (value) {
            var text = String(value);
            if (text !== prefix && text.indexOf(prefix) === 0)
                plain.set.call(this, prefix);
            plain.set.call(this, text);
        }
    });
})();
)JS";
    QString script = QString::fromLatin1(kScript);
    script.replace(QStringLiteral("%PREFIX%"), toQ(kTitlePrefix));
    return script;
}

PreviewPage::PreviewPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
    QWebEngineScript channel;
    channel.setName(QStringLiteral("qloom-title-channel"));
    channel.setInjectionPoint(QWebEngineScript::DocumentCreation);
    channel.setWorldId(QWebEngineScript::MainWorld);
    channel.setRunsOnSubFrames(false);
    channel.setSourceCode(titleChannelScript());
    scripts().insert(channel);
}

void PreviewPage::javaScriptAlert(const QUrl&, const QString&) {}

bool PreviewPage::javaScriptConfirm(const QUrl&, const QString&) {
    return false;
}

bool PreviewPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
    return false;
}

void PreviewPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                           const QString&) {
    // The page reports its errors through the title channel; the console stays quiet.
}

} // namespace qloom::gui
