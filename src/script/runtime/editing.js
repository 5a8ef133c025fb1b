
/* IDE! */
// Editing layer of the preview page: a press on a caption selects the menu and draws a frame
// around it, moving the mouse with the button held drags the menu, and the release reports the
// menu's place to the editor through the page title.

(function (Q) {
var qEl = Q.el, qValid = Q.valid, qMouseX = Q.mouseX, qMouseY = Q.mouseY, qEvent = Q.ev;
if (IDE == 1) {
  Q.on(document, 'mouseup', noMOVE);
  Q.on(document, 'mousemove', docMouseMove);
}

// Called by makeQloom(): the four edges of the selection frame become children of the body
// itself, so that they are placed in page coordinates even when the menus stand inside a
// positioned element. Borders carry units: current browsers ignore a bare "2".
function qMakeFrame() {
  var f = document.createElement('div'), s = 'position:absolute; visibility:hidden; ';
  f.innerHTML =
    '<div id="SEL_TOP" style="' + s + 'top:100px; left:100px; z-index:8880; width:100px; height:0px; ' +
      'border-top:2px solid gray; clip:rect(0px,900px,2px,0px);"></div>' +
    '<div id="SEL_LEFT" style="' + s + 'top:100px; left:100px; z-index:8881; width:0px; height:100px; ' +
      'border-left:2px solid gray; clip:rect(0px,2px,700px,0px);"></div>' +
    '<div id="SEL_RIGHT" style="' + s + 'top:100px; left:200px; z-index:8882; width:0px; height:100px; ' +
      'border-right:2px solid gray; clip:rect(0px,2px,700px,0px);"></div>' +
    '<div id="SEL_BOTTOM" style="' + s + 'top:200px; left:100px; z-index:8883; width:100px; height:0px; ' +
      'border-top:2px solid gray; clip:rect(0px,900px,2px,0px);"></div>';
  while (f.firstChild) document.body.appendChild(f.firstChild);
}

var bAllowMove = 0, first_time = 1, minusX = 0, minusY = 0, selectorVisible = 0;
var qLastRelease = null;

// The editor's browser view makes sure that a command equal to the current title still
// arrives (two equal errors in a row), so the page only ever sends the command itself.
function setTitle(s) {
  document.title = s;
}

function yVisibleSelector(v) {
  if (v == selectorVisible || !qEl('SEL_TOP')) return;
  var vis = v != 0 ? 'visible' : 'hidden';
  qEl('SEL_TOP').style.visibility = vis;
  qEl('SEL_LEFT').style.visibility = vis;
  qEl('SEL_RIGHT').style.visibility = vis;
  qEl('SEL_BOTTOM').style.visibility = vis;
  selectorVisible = v;
}

function qPlace(id, x, y) {
  var s = qEl(id).style;
  s.left = parseInt(x, 10) + 'px';
  s.top = parseInt(y, 10) + 'px';
}

function ySelector(x, y, w, h) {
  // A page that never calls makeQloom() has no frame to draw.
  if (!qEl('SEL_TOP')) return;
  if (selectorVisible == 0) yVisibleSelector(1);
  qPlace('SEL_TOP', x, y);
  qPlace('SEL_LEFT', x, y);
  qPlace('SEL_RIGHT', x + w, y);
  qPlace('SEL_BOTTOM', x, y + h);
  qEl('SEL_TOP').style.width = w + 2 + 'px';
  qEl('SEL_BOTTOM').style.width = w + 2 + 'px';
  qEl('SEL_LEFT').style.height = h + 'px';
  qEl('SEL_RIGHT').style.height = h + 'px';
  if (first_time == 1) {
    for (var i = 0; i < numOfMenus; i++) {
      var c = qEl('cap' + i);
      if (c) c.onmouseup = noMOVE;
    }
    first_time = 0;
  }
}

// e is 0 when the editor selects, anything else for a press or release in the page; ev is
// that mouse event where the browser has no window.event.
function ySetSel(i, e, ev) {
  if (!qValid(i)) return;
  var o = qEl('owner' + i);
  if (!o) return;
  iSelectedMenu = i;
  // In the small-screen list menus stand in reading order, not at their places: they are
  // selected, but neither framed nor moved, so no list position can reach the editor as a place.
  if (Q.small()) {
    yVisibleSelector(0);
    bAllowMove = 0;
    if (e != 0) setTitle('!qLoomIDE:ySetSel(' + i + ')');
    return;
  }
  // The frame stands in page coordinates; the drag moves the owner in its own parent's.
  var E = Q.getMenuHeight(i), oLeft = o.offsetLeft, oTop = o.offsetTop, r = o.getBoundingClientRect();
  var x = r.left + Q.scrollX() - 3, y = r.top + Q.scrollY() - 3;
  if (OO[i] == 0) ySelector(x, y, MW[i] + 4, E + MTCH[i] + 4);
  else ySelector(x, y, E + MTCH[i] + 4, MW[i] + 4);
  if (e != 0) {
    ev = qEvent(ev);
    if (ev) {
      minusX = qMouseX(ev) - oLeft;
      minusY = qMouseY(ev) - oTop;
      // Without this a press on a caption's text or picture starts a selection or a native
      // drag, and the browser then stops sending the moves that drag the menu.
      if (ev.type == 'mousedown' && ev.preventDefault) ev.preventDefault();
    }
    bAllowMove = 1;
    setTitle('!qLoomIDE:ySetSel(' + i + ')');
  }
}

function docMouseMove(ev) {
  if (bAllowMove != 1) return;
  ev = qEvent(ev);
  if (!ev) return;
  yMoveMenu(iSelectedMenu, qMouseX(ev) - minusX, qMouseY(ev) - minusY);
}

function yMoveMenu(i, x, y) {
  if (!qValid(i) || Q.small()) return;
  var s = qEl('owner' + i).style;
  s.left = parseInt(x, 10) + 'px';
  s.top = parseInt(y, 10) + 'px';
  yVisibleSelector(0);
}

function noMOVE(ev) {
  ev = qEvent(ev);
  // A release over a caption reaches the caption and then the document: answer it once.
  if (ev && ev === qLastRelease) return;
  qLastRelease = ev || null;
  if (numOfMenus > 0) ySetSel(iSelectedMenu, 1, ev);
  if (bAllowMove == 1 && ev) {
    var x = qMouseX(ev) - minusX, y = qMouseY(ev) - minusY;
    setTitle('!qLoomIDE:docMouseMove(' + iSelectedMenu + ',' + parseInt(x, 10) + ',' + parseInt(y, 10) + ')');
  }
  bAllowMove = 0;
}

Q.frame = qMakeFrame;
Q.setTitle = setTitle;
Q.ySetSel = ySetSel;
Q.yMoveMenu = yMoveMenu;
})(Qloom);
