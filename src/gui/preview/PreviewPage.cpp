#include "gui/preview/PreviewPage.h"

#include "gui/common/TextConv.h"
#include "gui/preview/PreviewRequestGuard.h"
#include "gui/preview/TitleCommand.h"

#include <QWebEngineFullScreenRequest>
#include <QWebEngineRegisterProtocolHandlerRequest>
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

PreviewPage::PreviewPage(QWebEngineProfile* profile, const PreviewRequestGuard& guard,
                         std::function<bool()> userActed, QObject* parent)
    : QWebEnginePage(profile, parent), guard_(guard), userActed_(std::move(userActed)) {
    QWebEngineScript channel;
    channel.setName(QStringLiteral("qloom-title-channel"));
    channel.setInjectionPoint(QWebEngineScript::DocumentCreation);
    channel.setWorldId(QWebEngineScript::MainWorld);
    channel.setRunsOnSubFrames(false);
    channel.setSourceCode(titleChannelScript());
    scripts().insert(channel);

    // Refused at once: a request left pending would wait for an answer nobody gives.
    connect(this, &QWebEnginePage::featurePermissionRequested, this,
            [this](const QUrl& origin, Feature feature) {
                setFeaturePermission(origin, feature, PermissionDeniedByUser);
            });
    connect(this, &QWebEnginePage::fullScreenRequested, this,
            [](QWebEngineFullScreenRequest request) { request.reject(); });
    connect(this, &QWebEnginePage::registerProtocolHandlerRequested, this,
            [](QWebEngineRegisterProtocolHandlerRequest request) { request.reject(); });
}

bool PreviewPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (!isMainFrame) // frames load what requests may load; about:blank and srcdoc frames too
        return guard_.allows(url) || url.scheme() == QLatin1String("about");
    if (guard_.allowsLocalFile(url))
        return true;
    // The preview itself blanks the view after repeated crashes.
    if (type == NavigationTypeTyped && url == QUrl(QStringLiteral("about:blank")))
        return true;
    const QString scheme = url.scheme().toLower();
    // Only a link the user just followed is offered; a page's own redirects are refused quietly.
    if ((scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
        type == NavigationTypeLinkClicked && userActed_ && userActed_())
        Q_EMIT remoteLinkFollowed(url);
    return false;
}

QStringList PreviewPage::chooseFiles(FileSelectionMode, const QStringList&, const QStringList&) {
    return {};
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
