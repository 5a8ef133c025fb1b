
// Menu runtime: builds the menus at the place of makeQloom() and slides their bodies in 50 ms
// steps. Every value it uses comes from the header above.

// Two page models. Current browsers keep document.all only as a falsy leftover, so the
// standard DOM counts as the "ie" family; the layer model stays for browsers that have it.
var ns = document.layers ? 1 : 0;
var ie = !ns && (document.getElementById || document.all) ? 1 : 0;

function qEl(id) {
  return document.getElementById ? document.getElementById(id) : document.all[id];
}

function qLayer(i, part) {
  var o = document.layers['owner' + i];
  if (!o || part == 'owner') return o;
  return o.layers[part + i];
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
  var x = document.body ? document.body.scrollLeft : 0;
  if (!x) x = window.pageXOffset || (document.documentElement ? document.documentElement.scrollLeft : 0) || 0;
  return x;
}

// Quirks-mode pages scroll the body, standards-mode pages the root element.
function qScrollY() {
  var y = document.body ? document.body.scrollTop : 0;
  if (!y) y = window.pageYOffset || (document.documentElement ? document.documentElement.scrollTop : 0) || 0;
  return y;
}

function qEvent(ev) {
  return ev || window.event;
}

// Listens without taking the host page's own handler property away.
function qOn(t, type, fn, capture) {
  if (t.addEventListener) t.addEventListener(type, fn, !!capture);
  else t['on' + type] = fn;
}

function qMouseX(ev) {
  return ev.clientX + qScrollX();
}

function qMouseY(ev) {
  return ev.clientY + qScrollY();
}

// Units are written everywhere: pages with a DOCTYPE ignore bare numbers. A horizontal menu is
// MW wide and its body slides down; a vertical one is MW high and its body slides right, so the
// two differ only in which length is along the menu and in the body's starting offset.
function qRules() {
  // The focus ring is drawn inside the caption (its clip would cut an outer one) in two tones,
  // so it shows on any caption colour. The extra toggle of a caption that holds its own link is
  // invisible and transparent to the pointer until the keyboard reaches it.
  var r = ['.clCap {cursor:pointer;}',
    '.clCap:focus-visible, .qT:focus-visible {outline:2px solid #000; outline-offset:-4px; box-shadow:inset 0 0 0 2px #fff;}',
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
  return r.join('\n');
}

if (ie) document.write(qRules());
document.write('</style>');

function makeQloom() {
  var i, h = [];
  if (ns) {
    widthChk = window.innerWidth;
    heightChk = window.innerHeight;
    // Handler properties are lower case; a capitalised one would never be called.
    window.onresize = resizeFix;
    setInterval(checkScroll, 50);
    for (i = 0; i < numOfMenus; i++) {
      var oOut = '', cOver = '';
      if (MA[i] == 0) {
        oOut = ' onMouseOut="mClose(' + i + ')"';
        cOver = ' onMouseOver="mOpen(' + i + ')"';
      }
      var bgO = CO[i] != 'transparent' ? ' bgColor="' + CO[i] + '"' : '';
      var bgC = CC[i] != 'transparent' ? ' bgColor="' + CC[i] + '"' : '';
      var bgM = CM[i] != 'transparent' ? ' bgColor="' + CM[i] + '"' : '';
      var capSize = OO[i] == 0 ? ' HEIGHT=' + MTCH[i] + ' WIDTH=' + MW[i] : ' HEIGHT=' + MW[i] + ' WIDTH=' + MTCH[i];
      var bodySize = OO[i] == 0 ? ' WIDTH=' + MW[i] : ' HEIGHT=' + MW[i];
      h.push('<layer name="owner' + i + '"' + bgO + oOut + ' LEFT=' + MX[i] + ' TOP=' + MY[i] +
        ' Z-INDEX=2 VISIBILITY=hidden><layer name="cap' + i + '" class="clCap"' + bgC + cOver + ' Z-INDEX=1' +
        capSize + '>' + MTC[i] + '</layer><layer name="menu' + i + '" class="clMenu"' + bgM +
        ' Z-INDEX=0 VISIBILITY=hidden' + bodySize + '>' + MTM[i] + '</layer></layer>');
    }
  } else {
    if (IDE == 1) {
      // The preview window scrolls the page area itself; dragging needs a still page.
      document.body.scroll = 'no';
      if (document.body.style) document.body.style.overflow = 'hidden';
    }
    // The selection frame of the preview goes into the body, never into the page's head.
    if (IDE == 1 && window.qMakeFrame) qMakeFrame();
    for (i = 0; i < numOfMenus; i++) {
      var ownerAttr, capAttr, toggle = '';
      if (MA[i] == 0) {
        ownerAttr = ' onMouseOut="mClose(' + i + ',event)"';
        capAttr = ' onMouseOver="mOpen(' + i + ',event)"';
        if (IDE == 1) capAttr += ' onMouseDown="ySetSel(' + i + ',1,event)"';
      } else {
        ownerAttr = '';
        capAttr = ' onMouseDown="mScroll(' + i + ',event)"';
      }
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
  }
  // One write for all menus: the parser is entered once instead of once per menu. An error
  // raised meanwhile comes from the menus' own HTML.
  qWriting = 1;
  if (h.length) document.write(h.join(''));
  qWriting = 0;
  for (i = 0; !ns && i < numOfMenus; i++) {
    var t = qToggle(i);
    // The separate toggle is named after the caption: its text, or a picture's description.
    if (t.className == 'qT') {
      var c = qEl('cap' + i), img = c.getElementsByTagName('img')[0];
      t.setAttribute('aria-label', c.textContent.replace(t.textContent, '').replace(/^\s+|\s+$/g, '') ||
        (img && img.alt) || 'Menu ' + (i + 1));
    }
  }
  for (i = 0; i < numOfMenus; i++) hideOwner(i);
  if (ns) {
    for (i = 0; i < numOfMenus; i++) setMenu(i);
  } else {
    // Measure every body before moving any, so the page is laid out once, not once per menu.
    var extents = [];
    for (i = 0; i < numOfMenus; i++) extents[i] = getMenuHeight(i);
    for (i = 0; i < numOfMenus; i++) qPark(i, extents[i]);
  }
  if (IDE == 1 && numOfMenus > 0) {
    ySetSel(iSelectedMenu, 0);
    mOpen(iSelectedMenu);
  }
}

function getMenuHeight(lIndex) {
  if (ns) {
    var l = qLayer(lIndex, 'menu');
    if (!l) {
      setTimeout(function () { getMenuHeight(lIndex); }, 50);
      return;
    }
    return OO[lIndex] == 0 ? l.clip.height : l.clip.width;
  }
  var m = qEl('menu' + lIndex);
  return OO[lIndex] == 0 ? m.offsetHeight : m.offsetWidth;
}

// Shows the owner and parks the body so that its far edge lies under the caption's.
function qPark(lIndex, E) {
  qEl('owner' + lIndex).style.visibility = 'visible';
  qSetOffset(lIndex, MTCH[lIndex] - E);
}

function setMenu(lIndex) {
  if (!ns) {
    qPark(lIndex, getMenuHeight(lIndex));
    return;
  }
  var o = qLayer(lIndex, 'owner');
  if (!o) {
    setTimeout(function () { setMenu(lIndex); }, 50);
    return;
  }
  o.visibility = 'show';
  var m = qLayer(lIndex, 'menu');
  if (!m) {
    setTimeout(function () { setMenu(lIndex); }, 50);
    return;
  }
  qSetOffset(lIndex, MTCH[lIndex] - getMenuHeight(lIndex));
  if (MA[lIndex] == 1) {
    var cd = qLayer(lIndex, 'cap').document;
    cd.captureEvents(Event.MOUSEUP | Event.MOUSEDOWN);
    cd.onmousedown = nsMouseDown;
  }
}

function hideOwner(lIndex) {
  if (ns) {
    var o = qLayer(lIndex, 'owner');
    if (!o) {
      setTimeout(function () { hideOwner(lIndex); }, 50);
      return;
    }
    if (OO[lIndex] == 0) o.clip.height = MTCH[lIndex];
    else o.clip.width = MTCH[lIndex];
    return;
  }
  var s = qEl('owner' + lIndex).style;
  if (OO[lIndex] == 0) s.height = MTCH[lIndex] + 'px';
  else s.width = MTCH[lIndex] + 'px';
}

function showOwner(lIndex) {
  var size = getMenuHeight(lIndex) + MTCH[lIndex];
  if (ns) {
    var o = qLayer(lIndex, 'owner');
    if (OO[lIndex] == 0) o.clip.height = size;
    else o.clip.width = size;
    return;
  }
  var s = qEl('owner' + lIndex).style;
  if (OO[lIndex] == 0) s.height = size + 'px';
  else s.width = size + 'px';
}

function setVis(i, vis) {
  if (ns) qLayer(i, 'menu').visibility = vis == 'visible' ? 'show' : 'hide';
  else qEl('menu' + i).style.visibility = vis;
}

// The body's top (horizontal menu) or left (vertical menu) inside its owner.
function qOffset(lIndex) {
  if (ns) {
    var l = qLayer(lIndex, 'menu');
    return OO[lIndex] == 0 ? l.top : l.left;
  }
  var m = qEl('menu' + lIndex);
  var v = parseInt(OO[lIndex] == 0 ? m.style.top : m.style.left, 10);
  if (isNaN(v)) v = OO[lIndex] == 0 ? m.offsetTop : m.offsetLeft;
  return v;
}

function qSetOffset(lIndex, v) {
  if (ns) {
    var l = qLayer(lIndex, 'menu');
    if (OO[lIndex] == 0) l.top = v;
    else l.left = v;
    return;
  }
  var s = qEl('menu' + lIndex).style;
  if (OO[lIndex] == 0) s.top = v + 'px';
  else s.left = v + 'px';
}

// The caption itself, or the separate toggle of a caption that holds its own link.
function qToggle(i) {
  var c = qEl('cap' + i), b = c.getElementsByTagName('button');
  return b.length && b[b.length - 1].className == 'qT' ? b[b.length - 1] : c;
}

// 1 while a menu is opening or open: what its toggle announces and what a key or tap reverses.
var qX = [], qTop = 2, qWriting = 0, qTap = 0, qTapCap = null, qEv = null;

// Starts a menu opening (open 1) or closing (open 0) from wherever its body stands.
function qGo(lIndex, open) {
  clearTimeout(PR[lIndex]);
  qX[lIndex] = open;
  if (ie) {
    qToggle(lIndex).setAttribute('aria-expanded', open ? 'true' : 'false');
    // An opening menu is drawn above every other, or the next caption would cover its body.
    if (open) qEl('owner' + lIndex).style.zIndex = ++qTop;
  }
  if (open) {
    showOwner(lIndex);
    setVis(lIndex, 'visible');
    scrollMe(lIndex, MTCH[lIndex], qSpeed(scrOUT));
  } else {
    scrollMe(lIndex, MTCH[lIndex] - getMenuHeight(lIndex), -qSpeed(scrIN));
  }
}

// Mouse events that a browser makes up after a tap: the tap itself has been answered already.
function qFromTap(ev) {
  return ev && new Date() - qTap < 1000;
}

function mOpen(lIndex, ev) {
  if (qValid(lIndex) && !qFromTap(ev)) qGo(lIndex, 1);
}

function mClose(lIndex, ev) {
  if (!qValid(lIndex) || qFromTap(ev)) return;
  var E = getMenuHeight(lIndex);
  ev = qEvent(ev);
  if (ie && ev) {
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
  clearTimeout(PR[lIndex]);
  if (IDE == 1) ySetSel(lIndex, 1, ev);
  qGo(lIndex, qOffset(lIndex) < MTCH[lIndex] ? 1 : 0);
}

function scrollMe(lIndex, tar, step) {
  var pos = qOffset(lIndex);
  if ((pos < tar && step > 0) || (pos > tar && step < 0)) {
    pos += step;
    // Visitors who ask for less motion get the body where it is going in one step.
    if ((step > 0 && pos > tar) || (step < 0 && pos < tar) || qStill()) pos = tar;
    qSetOffset(lIndex, pos);
    PR[lIndex] = setTimeout(function () { scrollMe(lIndex, tar, step); }, 50);
  } else if (step < 0) {
    hideOwner(lIndex);
    setVis(lIndex, 'hidden');
    if (ie) qEl('owner' + lIndex).style.zIndex = '';
  }
}

function qStill() {
  return window.matchMedia && matchMedia('(prefers-reduced-motion: reduce)').matches;
}

function doRepos() {
  var y = ns ? window.pageYOffset : qScrollY();
  for (var i = 0; i < numOfMenus; i++) {
    if (FL[i] == 0) continue;
    if (ns) {
      var l = qLayer(i, 'owner');
      if (l) l.top = MY[i] + y;
    } else {
      var o = qEl('owner' + i);
      if (o) o.style.top = MY[i] + y + 'px';
    }
  }
}

function checkScroll() {
  if (window.pageYOffset != old_pageYOffset) {
    old_pageYOffset = window.pageYOffset;
    doRepos();
  }
}

function resizeFix() {
  if (window.innerWidth != widthChk || window.innerHeight != heightChk) location.reload();
}

function getI(x, y) {
  for (var i = numOfMenus - 1; i >= 0; i--) {
    var o = qLayer(i, 'owner');
    if (!o) continue;
    var bottom = OO[i] == 0 ? o.top + MTCH[i] : o.top + o.clip.height;
    if (o.left <= x && x <= o.left + o.clip.width && o.top <= y && y <= bottom) return i;
  }
}

function nsMouseDown(e) {
  mScroll(getI(e.pageX, e.pageY));
}

function qHtml(s) {
  return String(s).replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
}

var qErrorsPending = 0;

function errorHandler(msg, url, line) {
  if (IDE == 1) {
    var cmd = '!qLoomIDE:ERROR(' + msg + '@' + url + '@' + line + ')';
    if (typeof setTitle == 'function') setTitle(cmd);
    else document.title = cmd;
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

function qCloseAll() {
  for (var i = 0; i < numOfMenus; i++) if (qX[i]) qGo(i, 0);
}

// Enter and Space on a toggle open or close its body; Escape closes every open body, also one
// that the pointer rests on, and brings focus back to the toggle it was inside.
function qKey(e) {
  var k = e.key, i = qIndex(e.target);
  if (k == 'Escape' || k == 'Esc') {
    qCloseAll();
    if (i >= 0) qToggle(i).focus();
  } else if ((k == 'Enter' || k == ' ' || k == 'Spacebar') && i >= 0 && e.target == qToggle(i)) {
    e.preventDefault();
    qGo(i, qX[i] ? 0 : 1);
  }
}

// Focus moving on past a mouse-over menu closes it, unless the pointer is still on the menu.
function qBlur(e) {
  var i = qIndex(e.target), o = qEl('owner' + i);
  if (i >= 0 && MA[i] == 0 && qX[i] && !o.contains(e.relatedTarget) && !(o.matches && o.matches(':hover'))) qGo(i, 0);
}

// Touch and pen: a tap on a caption toggles its menu without following anything (a caption's own
// link is followed by a tap once its menu is open); a tap outside every menu closes them all.
function qPoint(e) {
  if (e.pointerType == 'mouse' || !e.isPrimary) return;
  var i = qIndex(e.target), c = qEl('cap' + i);
  qTap = new Date();
  qTapCap = null;
  if (i < 0) qCloseAll();
  else if (c.contains(e.target) && !(qX[i] && e.target.closest && e.target.closest('a'))) {
    qTapCap = c;
    qGo(i, qX[i] ? 0 : 1);
  }
}

function qClick(e) {
  if (qTapCap && qTapCap.contains(e.target) && qFromTap(e)) e.preventDefault();
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

// Browsers without listeners hand the error's message, address and line to the handler itself.
if (window.addEventListener) qOn(window, 'error', qError);
else window.onerror = errorHandler;
if (ie) {
  qOn(window, 'scroll', doRepos);
  qOn(document, 'keydown', qKey);
  qOn(document, 'focusout', qBlur);
  qOn(document, 'pointerdown', qPoint);
  qOn(document, 'click', qClick, 1);
  var qTypes = ['click', 'mousedown', 'mouseup', 'mouseover', 'mouseout', 'keydown', 'keyup', 'focusin', 'focusout',
    'change', 'input', 'submit', 'load', 'error', 'pointerdown', 'touchstart'];
  for (var qK = 0; qK < qTypes.length; qK++) qOn(window, qTypes[qK], qWatch, 1);
}
