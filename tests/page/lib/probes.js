'use strict';
// Helpers installed into every loaded page, so test functions sent to the page can share them.
function install() {
  const vertical = (i) => OO[i] != 0;
  const body = (i) => document.getElementById('menu' + i);
  // The body's offset along its sliding axis, as the runtime last wrote it.
  window.qlOffset = (i) => parseInt(vertical(i) ? body(i).style.left : body(i).style.top, 10);
  window.qlExtent = (i) => (vertical(i) ? body(i).offsetWidth : body(i).offsetHeight);
  window.qlShown = (i) => getComputedStyle(body(i)).visibility === 'visible';
  window.qlIsOpen = (i) => window.qlOffset(i) === MTCH[i] && window.qlShown(i);
  window.qlIsClosed = (i) => window.qlOffset(i) === MTCH[i] - window.qlExtent(i) && !window.qlShown(i);
  window.qlBox = (id) => {
    const r = document.getElementById(id).getBoundingClientRect();
    return { x: r.left, y: r.top, w: r.width, h: r.height };
  };
  return true;
}

// The same helpers as functions for page.eval and waitFor, which send a function's source.
const isOpen = (i) => qlIsOpen(i);
const isClosed = (i) => qlIsClosed(i);
const boxOf = (id) => qlBox(id);

module.exports = { installSource: `(${install.toString()})()`, isOpen, isClosed, boxOf };
