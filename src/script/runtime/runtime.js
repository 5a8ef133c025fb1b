
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
  var r = ['.clCap {cursor:pointer;}'];
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
    for (i = 0; i < numOfMenus; i++) {
      var ownerAttr, capAttr;
      if (MA[i] == 0) {
        ownerAttr = ' onMouseOut="mClose(' + i + ',event)"';
        capAttr = ' onMouseOver="mOpen(' + i + ')"';
        if (IDE == 1) capAttr += ' onMouseDown="ySetSel(' + i + ',1,event)"';
      } else {
        ownerAttr = '';
        capAttr = ' onMouseDown="mScroll(' + i + ',event)"';
      }
      h.push('<div id="owner' + i + '"' + ownerAttr + '><div id="cap' + i + '" class="clCap"' + capAttr + '>' +
        MTC[i] + '</div><div id="menu' + i + '" class="clMenu">' + MTM[i] + '</div></div>');
    }
  }
  // One write for all menus: the parser is entered once instead of once per menu.
  if (h.length) document.write(h.join(''));
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

function mOpen(lIndex) {
  if (!qValid(lIndex)) return;
  clearTimeout(PR[lIndex]);
  showOwner(lIndex);
  setVis(lIndex, 'visible');
  scrollMe(lIndex, MTCH[lIndex], qSpeed(scrOUT));
}

function mClose(lIndex, ev) {
  if (!qValid(lIndex)) return;
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
  clearTimeout(PR[lIndex]);
  scrollMe(lIndex, -(E - MTCH[lIndex]), -qSpeed(scrIN));
}

function mScroll(lIndex, ev) {
  if (!qValid(lIndex)) return;
  clearTimeout(PR[lIndex]);
  if (IDE == 1) ySetSel(lIndex, 1, qEvent(ev));
  var E = getMenuHeight(lIndex);
  if (qOffset(lIndex) >= MTCH[lIndex]) {
    scrollMe(lIndex, -(E - MTCH[lIndex]), -qSpeed(scrIN));
  } else {
    showOwner(lIndex);
    setVis(lIndex, 'visible');
    scrollMe(lIndex, MTCH[lIndex], qSpeed(scrOUT));
  }
}

function scrollMe(lIndex, tar, step) {
  var pos = qOffset(lIndex);
  if ((pos < tar && step > 0) || (pos > tar && step < 0)) {
    pos += step;
    if ((step > 0 && pos > tar) || (step < 0 && pos < tar)) pos = tar;
    qSetOffset(lIndex, pos);
    PR[lIndex] = setTimeout(function () { scrollMe(lIndex, tar, step); }, 50);
  } else if (step < 0) {
    hideOwner(lIndex);
    setVis(lIndex, 'hidden');
  }
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

window.onerror = errorHandler;
if (ie) window.onscroll = doRepos;
