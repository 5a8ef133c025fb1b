
// Menu runtime: builds the menus at the place of makeQloom() and slides their bodies in 50 ms
// steps. Every value it uses comes from the header above. Its own names live in the one object
// Qloom (the header's last line creates it with the small-screen settings; a header without that
// line gets the mode switched off), so the only globals it adds are Qloom and makeQloom.
var Qloom = Qloom || { breakpoint: 0, place: 0, caption: 'Menu' };

(function (Q) {
var qX = [], qTop = 2, qWriting = 0, qTap = 0, qTapCap = null, qEv = null, qDown = null, qErrorsPending = 0;
// Small-screen state: the media query, whether it matches, any floating menu, the reading order.
var qMq = null, qSmall = 0, qFl = 0, qOrder = [];

function qEl(id) {
  return document.getElementById(id);
}

function qValid(i) {
  return i >= 0 && i < numOfMenus;
}

// A speed below one pixel would never move a body, so a menu could neither open nor close (a
// damaged project can carry 0).
function qSpeed(v) {
  return v >= 1 ? v : 1;
}

function qScrollX() {
  return (document.body && document.body.scrollLeft) || window.pageXOffset || document.documentElement.scrollLeft || 0;
}

// Quirks-mode pages scroll the body, standards-mode pages the root element.
function qScrollY() {
  return (document.body && document.body.scrollTop) || window.pageYOffset || document.documentElement.scrollTop || 0;
}

function qEvent(ev) {
  return ev || window.event;
}

// Listens without taking the host page's own handler property away.
function qOn(t, type, fn, capture) {
  t.addEventListener(type, fn, !!capture);
}

function qMouseX(ev) {
  return ev.clientX + qScrollX();
}

function qMouseY(ev) {
  return ev.clientY + qScrollY();
}

// The breakpoint in CSS px: Auto is the right edge of the rightmost caption plus a margin, so
// the mode starts only where the desktop row would no longer fit.
function qBreak() {
  var b = Q.breakpoint, i;
  if (b < 0) {
    for (b = 0, i = 0; i < numOfMenus; i++) b = Math.max(b, MX[i] + (OO[i] == 0 ? MW[i] : MTCH[i]) + 24);
  }
  return b > 0 ? b : 0;
}

// A generic family after the chosen font, so a visitor without it gets a font of the same kind
// instead of the browser's default (often a serif).
function qFamily(f) {
  f = String(f).replace(/"/g, '');
  return 'font-family:"' + f + '",' + (/courier|consol|mono/i.test(f) ? 'monospace' :
    /times|georgia|garamond|palatino|bookman|cambria/i.test(f) ? 'serif' : 'sans-serif') + ';';
}

// Units are written everywhere: pages with a DOCTYPE ignore bare numbers. A horizontal menu is
// MW wide and its body slides down; a vertical one is MW high and its body slides right, so the
// two differ only in which length is along the menu and in the body's starting offset.
function qRules() {
  // The focus ring is drawn inside the caption (its clip would cut an outer one) in two tones,
  // so it shows on any caption colour. The extra toggle of a caption that holds its own link is
  // invisible and transparent to the pointer until the keyboard reaches it.
  var r = ['.clCap {cursor:pointer;' + qFamily(fDefCap) + '}', '.clMenu {' + qFamily(fDefMenu) + '}',
    '.clCap:focus-visible, .qT:focus-visible, #qB:focus-visible {outline:2px solid #000; outline-offset:-4px; box-shadow:inset 0 0 0 2px #fff;}',
    '.qT {position:absolute; top:0px; right:0px; height:100%; margin:0px; border:0px; padding:0px 6px; ' +
      'background:#fff; color:#000; font:inherit; opacity:0; pointer-events:none;}',
    '.qT:focus {opacity:1;}'];
  for (var i = 0; i < numOfMenus; i++) {
    var w = MW[i] + 'px', c = MTCH[i] + 'px', horiz = OO[i] == 0;
    var along = horiz ? 'width' : 'height', across = horiz ? 'height' : 'width';
    r.push('#owner' + i + ' {background-color:' + CO[i] + '; top:' + MY[i] + 'px; left:' + MX[i] + 'px; ' + along +
      ':' + w + '; clip:rect(0px,' + (horiz ? w + ',500px' : '500px,' + w) +
      ',0px); position:absolute; visibility:hidden; z-index:2;}');
    r.push('#cap' + i + ' {background-color:' + CC[i] +
      '; position:absolute; top:0px; left:0px; visibility:visible; z-index:3; ' + along + ':' + w + '; ' + across +
      ':' + c + '; clip:rect(0px,' + (horiz ? w + ',' + c : c + ',' + w) + ',0px);}');
    r.push('#menu' + i + ' {background-color:' + CM[i] + '; position:absolute; top:' + (horiz ? '-10px' : '0px') +
      '; left:' + (horiz ? '0px' : '-10px') + '; visibility:hidden; z-index:1; ' + along + ':' + w + ';}');
  }
  var b = qBreak();
  if (b && numOfMenus) r.push(qSmallRules(b));
  return r.join('\n');
}

// Reading order of the small-screen list: rows from top to bottom, a row being the menus whose
// tops lie within the first one's caption; left to right inside a row.
function qReading() {
  var o = [], i, k, rowEnd = -1e9, row = 0, key = [];
  for (i = 0; i < numOfMenus; i++) o.push(i);
  o.sort(function (a, b) { return MY[a] - MY[b] || MX[a] - MX[b] || a - b; });
  for (k = 0; k < o.length; k++) {
    i = o[k];
    if (MY[i] >= rowEnd) {
      row++;
      rowEnd = MY[i] + (OO[i] == 0 ? MTCH[i] : MW[i]);
    }
    key[i] = row;
  }
  o.sort(function (a, b) { return key[a] - key[b] || MX[a] - MX[b] || a - b; });
  return o;
}

// Below the breakpoint the menus stand in one column under a disclosure button: every box
// loses its desktop place, size and clip; captions and links become rows of at least 44 px with
// text of at least 16 px, whatever the project's sizes, the menus' own markup or the host's line
// height; long words wrap and pictures shrink to the width. Above it, the two wrappers have no
// box of their own, so the page is laid out exactly as without them.
function qSmallRules(b) {
  qOrder = qReading();
  var f = qOrder[0], cap = Math.max(16, fDefCapS * 4 / 3), menu = Math.max(16, fDefMenuS * 4 / 3), p = Q.place, i;
  var r = '#qS,#qL{display:contents}#qB{display:none}\n@media (max-width:' + (b - 0.02) + 'px){' +
    '#qS{display:block;position:' + (p == 2 ? 'absolute;left:0;right:0;top:' + MY[f] + 'px' : 'relative') +
    ';z-index:999;pointer-events:none;font-size:16px;line-height:1.3}' +
    '#qB,#qL{pointer-events:auto}' +
    '#qB{display:block;min-width:44px;min-height:44px;margin:0' +
    (p == 1 ? ' 0 0 auto' : p == 2 ? ' 0 0 max(0px,min(' + MX[f] + 'px,calc(100% - 6em)))' : '') +
    ';padding:0 16px;border:0;font:inherit;' + qFamily(fDefCap) + 'font-size:' + cap + 'px;cursor:pointer;background:' + qBg(CC[f], cDefCap) +
    ';color:' + cDefCap + '}' +
    '#qL{display:none;background:#fff;overflow-y:auto}' +
    '.qO #qL{display:block}' +
    '#qL *:not(img){position:static!important;clip:auto!important;width:auto!important;height:auto!important}' +
    '#qL *{max-width:100%;box-sizing:border-box;visibility:visible!important;font-size:inherit!important;' +
    'line-height:inherit!important;overflow-wrap:anywhere}' +
    '#qL nobr{white-space:normal}#qL img{height:auto!important}' +
    '#qL a{display:inline-flex;align-items:center;min-height:44px;min-width:44px}' +
    '#qL .clCap{display:block;position:relative!important;min-height:44px;padding:12px 48px 12px 12px;font-size:' + cap +
    'px!important;border-top:1px solid #888}' +
    '#qL .clCap a{margin:-12px 0}' +
    '#qL .clCap[role]:after{content:"\\25BE";position:absolute;right:16px;top:12px}' +
    '#qL .qT{position:absolute!important;top:0;right:0;width:44px!important;height:100%!important;opacity:1;pointer-events:auto}' +
    '#qL .clMenu{display:none;padding:4px 12px 8px;font-size:' + menu + 'px!important}' +
    '#qL .qE .clMenu{display:block}';
  // Text of the project's colour on a transparent caption or body would stand on the list's own
  // background: such a box gets a background that the text colour shows on.
  for (i = 0; i < numOfMenus; i++) {
    if (CC[i] == 'transparent') r += '#qL #cap' + i + '{background-color:' + qBg(CC[i], cDefCap) + '}';
    if (CM[i] == 'transparent') r += '#qL #menu' + i + '{background-color:' + qBg(CM[i], cDefMenu) + '}';
  }
  return r + '}';
}

function qBg(c, text) {
  var v = parseInt(String(text).slice(1), 16);
  return c != 'transparent' ? c : (v >> 16) + (v >> 8 & 255) + (v & 255) > 382 ? '#222' : '#fff';
}

document.write(qRules());
document.write('</style>');

function makeQloom() {
  var i, h = [], b = qBreak();
  if (IDE == 1) {
    // The preview window scrolls the page area itself; dragging needs a still page.
    document.body.scroll = 'no';
    document.body.style.overflow = 'hidden';
  }
  // The selection frame of the preview goes into the body, never into the page's head.
  if (IDE == 1 && Q.frame) Q.frame();
  for (i = 0; i < numOfMenus; i++) {
    var ownerAttr, capAttr, toggle = '';
    if (MA[i] == 0) {
      ownerAttr = ' onMouseOut="Qloom.mClose(' + i + ',event)"';
      capAttr = ' onMouseOver="Qloom.mOpen(' + i + ',event)"';
      if (IDE == 1) capAttr += ' onMouseDown="Qloom.ySetSel(' + i + ',1,event)"';
    } else {
      ownerAttr = '';
      capAttr = ' onMouseDown="Qloom.mScroll(' + i + ',event)"';
    }
    if (FL[i] != 0) qFl = 1;
    // Each caption is a disclosure button for its body. A button may not hold a link, so a
    // caption with a control of its own keeps it and gets a separate toggle after it.
    var aria = ' aria-expanded="false" aria-controls="menu' + i + '"';
    if (/<(a\s[^>]*href|button|input|select|textarea)|tabindex/i.test(MTC[i])) {
      toggle = '<button type="button" class="qT" tabindex="0"' + aria + '>&#9662;</button>';
    } else {
      capAttr += ' role="button" tabindex="0"' + aria;
    }
    h.push('<div id="owner' + i + '"' + ownerAttr + '><div id="cap' + i + '" class="clCap"' + capAttr + '>' +
      MTC[i] + toggle + '</div><div id="menu' + i + '" class="clMenu">' + MTM[i] + '</div></div>');
  }
  // With the small-screen mode on, the menus stand in a list under the button that stands in
  // for them below the breakpoint. The list scrolls where it floats; its captions and links,
  // not the list itself, are the Tab stops (Firefox would add one for a scrolling box).
  if (b && h.length) {
    h.unshift('<div id="qS"><button type="button" id="qB" aria-expanded="false" aria-controls="qL">' +
      qHtml(Q.caption) + '</button><div id="qL" tabindex="-1">');
    h.push('</div></div>');
  }
  // One write for all menus: the parser is entered once instead of once per menu. An error
  // raised meanwhile comes from the menus' own HTML.
  qWriting = 1;
  if (h.length) document.write(h.join(''));
  qWriting = 0;
  for (i = 0; i < numOfMenus; i++) {
    var t = qToggle(i);
    // The separate toggle is named after the caption: its text, or a picture's description.
    if (t.className == 'qT') {
      var c = qEl('cap' + i), img = c.getElementsByTagName('img')[0];
      t.setAttribute('aria-label', c.textContent.replace(t.textContent, '').replace(/^\s+|\s+$/g, '') ||
        (img && img.alt) || 'Menu ' + (i + 1));
    }
  }
  if (b && h.length) {
    qMq = matchMedia('(max-width:' + (b - 0.02) + 'px)');
    qMq.addListener(qMode);
  }
  if (qMq && qMq.matches) {
    qMode();
  } else {
    for (i = 0; i < numOfMenus; i++) hideOwner(i);
    // Measure every body before moving any, so the page is laid out once, not once per menu.
    var extents = [];
    for (i = 0; i < numOfMenus; i++) extents[i] = getMenuHeight(i);
    for (i = 0; i < numOfMenus; i++) qPark(i, extents[i]);
  }
  if (IDE == 1 && numOfMenus > 0) {
    Q.ySetSel(iSelectedMenu, 0);
    mOpen(iSelectedMenu);
  }
}

// Entering or leaving the small-screen mode: every menu closes at once and is parked for the
// layout now in force; the list takes the reading order, the desktop page the menus' own order
// (so Tab follows what the visitor sees in either).
function qMode() {
  qSmall = qMq.matches ? 1 : 0;
  qEl('qS').className = '';
  qEl('qB').setAttribute('aria-expanded', 'false');
  var L = qEl('qL'), i, o = qSmall ? qOrder : [], ext = [];
  if (!qSmall) for (i = 0; i < numOfMenus; i++) o.push(i);
  for (i = 0; i < o.length; i++) L.appendChild(qEl('owner' + o[i]));
  for (i = 0; i < numOfMenus; i++) {
    clearTimeout(PR[i]);
    qX[i] = 0;
    qToggle(i).setAttribute('aria-expanded', 'false');
    qEl('owner' + i).className = qEl('owner' + i).style.zIndex = '';
    hideOwner(i);
    setVis(i, 'hidden');
  }
  // As at the start: every body measured before any is moved, so the page is laid out once.
  if (!qSmall) {
    for (i = 0; i < numOfMenus; i++) ext[i] = getMenuHeight(i);
    for (i = 0; i < numOfMenus; i++) qPark(i, ext[i]);
    doRepos();
  }
  qFloat();
}

// Opens (1) or closes (0) the small-screen list.
function qList(open) {
  var s = qEl('qS');
  if (!s) return;
  s.className = open ? 'qO' : '';
  qEl('qB').setAttribute('aria-expanded', open ? 'true' : 'false');
  if (!open) for (var i = 0; i < numOfMenus; i++) if (qX[i]) qGo(i, 0);
  qFloat();
}

// Where menus float, the button follows the visual viewport (what a phone visitor scrolls and
// zooms), not the page's scroll offset. It keeps its own place in the page, so closed it covers
// nothing there; open, the list is cut to what is left of the visible height and scrolls itself,
// so none of its links moves out of reach.
function qFloat() {
  var s = qEl('qS'), v = window.visualViewport, st, L, r, base, off, dy, dx;
  if (!s) return;
  st = s.style;
  L = qEl('qL').style;
  if (!qSmall || !qFl) {
    st.top = st.left = st.width = L.maxHeight = '';
    return;
  }
  // Only what changed is written, so a scroll that moves nothing costs no new layout.
  r = s.getBoundingClientRect();
  base = Q.place == 2 ? MY[qOrder[0]] : 0;
  off = (parseFloat(st.top) || base) - base;
  dy = Math.max(0, (v ? v.pageTop : qScrollY()) - r.top - qScrollY() + off);
  dx = Math.max(0, (v ? v.pageLeft : qScrollX()) - r.left - qScrollX() + (parseFloat(st.left) || 0));
  qSet(st, 'top', base + dy + 'px');
  qSet(st, 'left', dx ? dx + 'px' : '');
  qSet(st, 'width', v && v.scale > 1.01 ? v.width + 'px' : '');
  qSet(L, 'maxHeight', s.className ? Math.max(88, (v ? v.height : innerHeight) - qEl('qB').offsetHeight) + 'px' : '');
}

function qSet(st, k, v) {
  if (st[k] != v) st[k] = v;
}

function getMenuHeight(lIndex) {
  var m = qEl('menu' + lIndex);
  return OO[lIndex] == 0 ? m.offsetHeight : m.offsetWidth;
}

// Shows the owner and parks the body so that its far edge lies under the caption's.
function qPark(lIndex, E) {
  qEl('owner' + lIndex).style.visibility = 'visible';
  qSetOffset(lIndex, MTCH[lIndex] - E);
}

function hideOwner(lIndex) {
  var s = qEl('owner' + lIndex).style;
  if (OO[lIndex] == 0) s.height = MTCH[lIndex] + 'px';
  else s.width = MTCH[lIndex] + 'px';
}

function showOwner(lIndex) {
  var size = getMenuHeight(lIndex) + MTCH[lIndex] + 'px', s = qEl('owner' + lIndex).style;
  if (OO[lIndex] == 0) s.height = size;
  else s.width = size;
}

function setVis(i, vis) {
  qEl('menu' + i).style.visibility = vis;
}

// The body's top (horizontal menu) or left (vertical menu) inside its owner.
function qOffset(lIndex) {
  var m = qEl('menu' + lIndex);
  var v = parseInt(OO[lIndex] == 0 ? m.style.top : m.style.left, 10);
  if (isNaN(v)) v = OO[lIndex] == 0 ? m.offsetTop : m.offsetLeft;
  return v;
}

function qSetOffset(lIndex, v) {
  var s = qEl('menu' + lIndex).style;
  if (OO[lIndex] == 0) s.top = v + 'px';
  else s.left = v + 'px';
}

// The caption itself, or the separate toggle of a caption that holds its own link.
function qToggle(i) {
  var c = qEl('cap' + i), b = c.getElementsByTagName('button');
  return b.length && b[b.length - 1].className == 'qT' ? b[b.length - 1] : c;
}

// Starts a menu opening (open 1) or closing (open 0) from wherever its body stands. In the
// small-screen list a body opens in place at once, and opening one closes the others.
function qGo(lIndex, open) {
  clearTimeout(PR[lIndex]);
  qX[lIndex] = open;
  qToggle(lIndex).setAttribute('aria-expanded', open ? 'true' : 'false');
  if (qSmall) {
    qEl('owner' + lIndex).className = open ? 'qE' : '';
    for (var k = 0; open && k < numOfMenus; k++) if (k != lIndex && qX[k]) qGo(k, 0);
    return;
  }
  // An opening menu is drawn above every other, or the next caption would cover its body.
  if (open) qEl('owner' + lIndex).style.zIndex = ++qTop;
  if (open) {
    showOwner(lIndex);
    setVis(lIndex, 'visible');
    Q.scrollMe(lIndex, MTCH[lIndex], qSpeed(scrOUT));
  } else {
    Q.scrollMe(lIndex, MTCH[lIndex] - getMenuHeight(lIndex), -qSpeed(scrIN));
  }
}

// Mouse events that a browser makes up after a tap: the tap itself has been answered already.
function qFromTap(ev) {
  return ev && new Date() - qTap < 1000;
}

// In the small-screen list hovering does nothing: captions open and close only when activated.
function mOpen(lIndex, ev) {
  if (qValid(lIndex) && !qFromTap(ev) && !qSmall) qGo(lIndex, 1);
}

function mClose(lIndex, ev) {
  if (!qValid(lIndex) || qFromTap(ev) || qSmall) return;
  var E = getMenuHeight(lIndex);
  ev = qEvent(ev);
  if (ev) {
    // Moving between the owner's own children also fires mouse-out: stay open while the
    // pointer is still over caption or body. The box is taken from the screen, so a page
    // that places the menus inside a positioned element is measured right as well.
    var r = qEl('owner' + lIndex).getBoundingClientRect();
    var cX = ev.clientX, cY = ev.clientY, mX = r.left, mY = r.top, mW = r.right - r.left;
    if (OO[lIndex] == 0) {
      if (mX + 1 < cX && cX < mX + mW && mY + 1 < cY && cY < mY + E + MTCH[lIndex]) return;
    } else if (mY + 1 < cY && cY < mY + MW[lIndex] && mX + 1 < cX && cX < mX + E + MTCH[lIndex]) {
      return;
    }
  }
  qGo(lIndex, 0);
}

function mScroll(lIndex, ev) {
  // Only the primary button toggles; the others belong to the browser's own menus.
  if (!qValid(lIndex) || qFromTap(ev) || (ev && (ev.which ? ev.which != 1 : ev.button > 1))) return;
  if (IDE == 1) Q.ySetSel(lIndex, 1, ev);
  if (qSmall) return;
  clearTimeout(PR[lIndex]);
  qGo(lIndex, qOffset(lIndex) < MTCH[lIndex] ? 1 : 0);
}

function scrollMe(lIndex, tar, step) {
  var pos = qOffset(lIndex);
  if ((pos < tar && step > 0) || (pos > tar && step < 0)) {
    pos += step;
    // Visitors who ask for less motion get the body where it is going in one step.
    if ((step > 0 && pos > tar) || (step < 0 && pos < tar) || qStill()) pos = tar;
    qSetOffset(lIndex, pos);
    PR[lIndex] = setTimeout(function () { Q.scrollMe(lIndex, tar, step); }, 50);
  } else if (step < 0) {
    hideOwner(lIndex);
    setVis(lIndex, 'hidden');
    qEl('owner' + lIndex).style.zIndex = '';
  }
}

function qStill() {
  return window.matchMedia && matchMedia('(prefers-reduced-motion: reduce)').matches;
}

// Floating menus keep their distance from the window's top; in the small-screen list only the
// button follows.
function doRepos() {
  if (qSmall) return qFloat();
  var y = qScrollY();
  for (var i = 0; i < numOfMenus; i++) {
    var o = FL[i] != 0 && qEl('owner' + i);
    if (o) o.style.top = MY[i] + y + 'px';
  }
}

function qHtml(s) {
  return String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}

function errorHandler(msg, url, line) {
  if (IDE == 1) {
    Q.setTitle('!qLoomIDE:ERROR(' + msg + '@' + url + '@' + line + ')');
    return true;
  }
  // The message is shown as text: it often quotes the HTML that caused it.
  errs += qHtml(msg) + ' - ' + qHtml(url) + ' - ' + qHtml(line) + '<BR>';
  // Opening a window inside the error handler runs a nested event loop in some browsers, and
  // an error raised meanwhile would be lost: write the window once the handler has returned.
  if (!qErrorsPending) {
    qErrorsPending = 1;
    setTimeout(qShowErrors, 0);
  }
  return true;
}

function qShowErrors() {
  qErrorsPending = 0;
  try {
    var w = window.open('', 'win2', 'scrollbars=1,status=0,left=230,top=210,width=500,height=200');
    if (!w) return;
    var d = w.document;
    d.open();
    d.write('<html><head><title>Error!</title></head><body>' +
      '<b>Error!</b> Possible reasons:<br>' +
      '<b>1.</b> HTML code which you entered inside a menu or caption is illegal.<br>' +
      '<b>2.</b> Unreliable Internet Connection. Please Reload the Page.<br>' +
      '<b>3.</b> This could be a bug. Please send your <i>Qloomscript.js</i> to the ' +
      '<a href="mailto:qloom-support@norvex.example">author.</a>' +
      '<form><input type="button" value="Reload Page" ' +
      'onclick="if (window.opener) window.opener.location.reload(); window.close();"></form>' +
      '<nobr>' + errs + '</nobr></body></html>');
    d.close();
  } catch (x) {
    // A blocked or foreign window must not raise another error from the error path.
  }
}

// The menu (owner index) that holds a page element, or -1.
function qIndex(e) {
  for (; e && e.id != null; e = e.parentNode) {
    var m = /^owner(\d+)$/.exec(e.id);
    if (m && qEl('owner' + m[1]) == e) return +m[1];
  }
  return -1;
}

// Closes every open menu but one (-1: all); only click menus when clicks only (a mouse press
// outside them), since hover menus close by themselves when the pointer leaves.
function qCloseAll(but, clicks) {
  for (var i = 0; i < numOfMenus; i++) if (qX[i] && i != but && !(clicks && MA[i] == 0)) qGo(i, 0);
}

function qInList(e) {
  var s = qEl('qS');
  return s && s.contains(e);
}

// Enter and Space on a toggle open or close its body; Escape closes every open body, also one
// that the pointer rests on, and brings focus back to the toggle it was inside. In the
// small-screen list Escape closes the list and goes back to its button.
function qKey(e) {
  var k = e.key, i = qIndex(e.target);
  if (k == 'Escape' || k == 'Esc') {
    if (qSmall && qEl('qS').className) {
      qList(0);
      if (qInList(e.target)) qEl('qB').focus();
      return;
    }
    qCloseAll(-1);
    if (i >= 0) qToggle(i).focus();
  } else if ((k == 'Enter' || k == ' ' || k == 'Spacebar') && i >= 0 && e.target == qToggle(i)) {
    e.preventDefault();
    qGo(i, qX[i] ? 0 : 1);
  }
}

// Focus moving on past a mouse-over menu closes it, unless the pointer is still on the menu.
function qBlur(e) {
  var i = qIndex(e.target), o = qEl('owner' + i);
  if (i >= 0 && !qSmall && MA[i] == 0 && qX[i] && !o.contains(e.relatedTarget) && !(o.matches && o.matches(':hover'))) {
    qGo(i, 0);
  }
}

// Where a touch or pen starts: a swipe (the browser cancels the pointer to scroll, or it ends
// away from where it began) is not a tap and changes nothing.
function qPress(e) {
  qDown = e.isPrimary ? [e.clientX, e.clientY] : null;
  // A mouse press outside the open click menus closes them, at every width; the preview keeps
  // them, since a press there selects and moves menus.
  if (e.pointerType == 'mouse' && IDE != 1 && !e.button && !qSmall) qCloseAll(qIndex(e.target), 1);
}

// Touch and pen: a tap on a caption toggles its menu without following anything (a caption's own
// link is followed by a tap once its menu is open) and closes the others; a tap outside every
// menu closes them all.
function qPoint(e) {
  var d = qDown;
  qDown = null;
  if (e.pointerType == 'mouse' || !d || Math.abs(e.clientX - d[0]) + Math.abs(e.clientY - d[1]) > 12) return;
  if (qSmall) return;
  var i = qIndex(e.target), c = qEl('cap' + i);
  qTap = new Date();
  qTapCap = null;
  qCloseAll(i);
  if (i >= 0 && c.contains(e.target) && !(qX[i] && e.target.closest && e.target.closest('a'))) {
    qTapCap = c;
    qGo(i, qX[i] ? 0 : 1);
  }
}

function qCancel() {
  qDown = null;
}

// Clicks, taps and Enter on a native button all arrive here. In the small-screen list the
// button opens the list, a caption (or its separate toggle) its body, a link closes the list
// behind it, and anything outside the list closes it.
function qClick(e) {
  if (qTapCap && qTapCap.contains(e.target) && qFromTap(e)) e.preventDefault();
  if (!qSmall) return;
  var t = e.target, i = qIndex(t);
  if (!qInList(t)) {
    qList(0);
  } else if (t.closest('#qB')) {
    qList(qEl('qS').className ? 0 : 1);
  } else if (i >= 0 && qToggle(i).contains(t) && !(t.closest('a') && qToggle(i) != qEl('cap' + i))) {
    qGo(i, qX[i] ? 0 : 1);
  } else if (t.closest('a')) {
    qList(0);
  }
}

// The event being dispatched to a menu's element: an error raised while it is still under way
// comes from the menu's own handlers.
function qWatch(e) {
  if (qIndex(e.target) >= 0) qEv = e;
}

// Errors stay in the browser's console. In a published page only the menus' own errors (raised
// while makeQloom() writes them, in their handlers, or in this script) reach the error window.
function qError(e) {
  if (IDE == 1 || qWriting || (qEv && qEv.eventPhase) || /Qloomscript\.js/.test(e.filename)) {
    errorHandler(e.message, e.filename, e.lineno);
  }
}

// What the markup's handlers, the editing layer and the editor call; the editing layer replaces
// the last two in the preview.
var ex = { el: qEl, valid: qValid, on: qOn, ev: qEvent, mouseX: qMouseX, mouseY: qMouseY, scrollX: qScrollX,
  scrollY: qScrollY, make: makeQloom, mOpen: mOpen, mClose: mClose, mScroll: mScroll, scrollMe: scrollMe,
  getMenuHeight: getMenuHeight, small: function () { return qSmall; }, ySetSel: function () {},
  setTitle: function (s) { document.title = s; } };
for (var k in ex) Q[k] = ex[k];

qOn(window, 'error', qError);
qOn(window, 'scroll', doRepos);
if (window.visualViewport) {
  qOn(visualViewport, 'scroll', doRepos);
  qOn(visualViewport, 'resize', doRepos);
}
qOn(document, 'keydown', qKey);
qOn(document, 'focusout', qBlur);
qOn(document, 'pointerdown', qPress);
qOn(document, 'pointerup', qPoint);
qOn(document, 'pointercancel', qCancel);
qOn(document, 'click', qClick, 1);
var qTypes = ['click', 'mousedown', 'mouseup', 'mouseover', 'mouseout', 'keydown', 'keyup', 'focusin', 'focusout',
  'change', 'input', 'submit', 'load', 'error', 'pointerdown', 'touchstart'];
for (var qK = 0; qK < qTypes.length; qK++) qOn(window, qTypes[qK], qWatch, 1);
})(Qloom);

function makeQloom() {
  Qloom.make();
}
