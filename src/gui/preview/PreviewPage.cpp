#include "gui/preview/internal/PreviewPage.h"

#include "gui/common/TextConv.h"
#include "gui/preview/internal/PreviewRequestGuard.h"
#include "gui/preview/internal/TitleCommand.h"

#include <QCoreApplication>
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

QString PreviewPage::lockDownScript() {
    // Defence in depth, in every frame before the page's own script runs: the engine's switches
    // already keep the network out of reach; this takes away the interfaces themselves, and
    // those of the clipboard, which no switch closes once the user has clicked.
    static const char* const kScript = R"JS(
(function () {
    var gone = ['RTCPeerConnection', 'webkitRTCPeerConnection', 'RTCDataChannel',
        'RTCSessionDescription', 'RTCIceCandidate', 'RTCRtpSender', 'RTCRtpReceiver',
        'RTCRtpTransceiver', 'RTCDtlsTransport', 'RTCIceTransport', 'RTCSctpTransport',
        'RTCCertificate', 'RTCDTMFSender', 'RTCPeerConnectionIceEvent', 'RTCDataChannelEvent',
        'RTCTrackEvent', 'RTCEncodedAudioFrame', 'RTCEncodedVideoFrame', 'WebTransport',
        'WebTransportError', 'WebTransportBidirectionalStream',
        'WebTransportDatagramDuplexStream', 'Clipboard', 'ClipboardItem'];
    var refused = {copy: 1, cut: 1, paste: 1};
    function hide(proto, name) {
        if (!proto)
            return;
        try {
            Object.defineProperty(proto, name, {get: function () { return undefined; },
                                                configurable: false, enumerable: false});
        } catch (e) {}
    }
    function lock(w) {
        if (Object.prototype.hasOwnProperty.call(w, '__qloomLocked'))
            return;
        Object.defineProperty(w, '__qloomLocked', {value: true});
        gone.forEach(function (name) {
            try { delete w[name]; } catch (e) {}
            try {
                Object.defineProperty(w, name, {value: undefined, writable: false,
                                                configurable: false, enumerable: false});
            } catch (e) {}
        });
        var nav = w.Navigator && w.Navigator.prototype;
        hide(nav, 'clipboard');
        hide(nav, 'mediaDevices');
        hide(nav, 'presentation');
        var proto = w.Document && w.Document.prototype;
        if (proto) {
            var exec = proto.execCommand;
            try {
                Object.defineProperty(proto, 'execCommand', {
                    configurable: false, writable: false, enumerable: true,
                    value: function (command) {
                        if (refused[String(command).toLowerCase()] === 1)
                            return false;
                        return exec.apply(this, arguments);
                    }
                });
            } catch (e) {}
        }
        // The page may not rewrite what the user copies, nor keep itself with an unload
        // question.
        ['copy', 'cut', 'paste', 'beforeunload'].forEach(function (type) {
            w.addEventListener(type, function (event) {
                event.stopImmediatePropagation();
            }, true);
        });
        try {
            Object.defineProperty(w, 'onbeforeunload', {get: function () { return null; },
                                                        set: function () {},
                                                        configurable: false});
        } catch (e) {}
    }
    lock(window);
    // An empty frame the page makes itself has its document before any injected script can
    // run in it: it is locked when the page first reaches into it. (Reaching it through
    // window.frames is not covered; the engine's switches hold there.)
    [window.HTMLIFrameElement, window.HTMLFrameElement, window.HTMLObjectElement].forEach(
        function (type) {
            if (!type)
                return;
            ['contentWindow', 'contentDocument'].forEach(function (name) {
                var plain = Object.getOwnPropertyDescriptor(type.prototype, name);
                if (!plain || !plain.get)
                    return;
                Object.defineProperty(type.prototype, name, {
                    configurable: false, enumerable: plain.enumerable,
                    get: function () {
                        var value = plain.get.call(this);
                        try {
                            var win = name === 'contentWindow' ? value
                                                               : value && value.defaultView;
                            if (win)
                                lock(win);
                        } catch (e) {}
                        return value;
                    }
                });
            });
        });
})();
)JS";
    return QString::fromLatin1(kScript);
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

    QWebEngineScript lockDown;
    lockDown.setName(QStringLiteral("qloom-lock-down"));
    lockDown.setInjectionPoint(QWebEngineScript::DocumentCreation);
    lockDown.setWorldId(QWebEngineScript::MainWorld);
    lockDown.setRunsOnSubFrames(true);
    lockDown.setSourceCode(lockDownScript());
    scripts().insert(lockDown);

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

bool PreviewPage::javaScriptConfirm(const QUrl&, const QString& msg) {
    // The engine asks its unload question ("leave this page?") through here too: the answer is
    // always "leave", so no page can hold the preview against a new load. A page's own
    // confirm() gets "no".
    return msg == unloadQuestion();
}

QString PreviewPage::unloadQuestion() {
    return QCoreApplication::translate("QWebEnginePage",
                                       "Are you sure you want to leave this page? Changes that "
                                       "you made may not be saved.");
}

bool PreviewPage::javaScriptPrompt(const QUrl&, const QString&, const QString&, QString*) {
    return false;
}

void PreviewPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                           const QString&) {
    // The page reports its errors through the title channel; the console stays quiet.
}

} // namespace qloom::gui
