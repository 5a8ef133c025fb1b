'use strict';
// Phones, tablets and zoomed desktops: below the breakpoint the menus collapse into one button
// that opens a single-column list; above it the page is exactly the desktop one. Two real-world
// projects are driven at 320 to 1280 CSS px in every engine, by tap, mouse and keyboard, at
// device scale 1 and 3 and at desktop zoom 200% and 400%.
const fs = require('node:fs');
const path = require('node:path');
const { it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { eachEngine, waitFor, sleep } = require('./lib/engines');
const { Site, PIXEL, template } = require('./lib/pages');

const VIEWPORT = '<meta name="viewport" content="width=device-width, initial-scale=1">';
const TEXT = '<p id="text">Page text begins here.</p>' + '<p>Lorem ipsum dolor sit amet, consectetur adipiscing elit.</p>'.repeat(80);
const PAGE = ['<!DOCTYPE html>', '<HTML><HEAD>', VIEWPORT, '<SCRIPT LANGUAGE="JavaScript" SRC="Qloomscript.js"></SCRIPT>',
  '</HEAD><BODY leftmargin=0 topmargin=0>', '<SCRIPT LANGUAGE="JavaScript">makeQloom()</SCRIPT>',
  `<div style="padding:60px 8px 0">${TEXT}</div>`, '</BODY></HTML>', ''].join('\r\n');

const links = (k, n) => Array.from({ length: n }, (_, j) => `<a href="#${k}${j + 1}">${k} page ${j + 1}</a>`).join('<br>\r\n');

// A site header: six 150 px drop-downs side by side (910 px, captions 24 px high), hover and
// click, one caption a link of its own, and a floating slide-out menu on the left whose body
// holds a picture wider than a phone and a word longer than one.
const HEADER = {
  settings: { fDefCap: 'Verdana', fDefCapS: 9, fDefMenu: 'Times New Roman', fDefMenuS: 8 },
  menus: [
    ...['Products', 'Services', '<a href="#home">Home</a>', 'Support', 'About us', 'Contact'].map((c, k) => ({
      MX: 10 + k * 152, MY: 10, MW: 150, MTCH: 24, MTC: c, MTM: links('m' + k, 3), MA: k % 2, FL: 0, OO: 0,
    })),
    {
      MX: 0, MY: 60, MW: 120, MTCH: 24, OO: 1, FL: 1, MTC: 'Side',
      MTM: `${links('side', 2)}<br><img src="${PIXEL}" width="600" height="60" alt="Banner"><br>Donaudampfschifffahrtsgesellschaftskapitaen`,
    },
  ],
};
// Reading order: the header row left to right, then the side menu below it.
const HEADER_ORDER = [0, 1, 2, 3, 4, 5, 6];

// A small business site: five 120 px captions at x 330 to 938, written out of order.
const SHOP = {
  menus: [574, 330, 818, 452, 696].map((x, k) => ({
    MX: x, MY: 20 + (k % 2), MW: 120, MTCH: 22, MTC: `Shop ${x}`, MTM: links('s' + k, 4), MA: 1, FL: 0,
  })),
};
const SHOP_ORDER = [1, 3, 0, 4, 2];

const site = new Site();
const urls = {};

before(async () => {
  await site.start();
  urls.header = site.project('header', HEADER, { page: PAGE, small: { breakpoint: -1, place: 0, caption: 'Menu' } });
  urls.headerOff = site.project('header-off', HEADER, { page: PAGE, small: { breakpoint: 0 } });
  urls.shop = site.project('shop', SHOP, { page: PAGE, small: { breakpoint: -1, place: 1, caption: 'Navigation' } });
  urls.shopAt = site.project('shop-at', SHOP, { page: PAGE, small: { breakpoint: 1000, place: 2 } });
  urls.preview = site.project('preview', SHOP, { preview: true, page: template({ recorder: true }), small: { breakpoint: -1 } });
});

after(() => site.stop());

// The whole small-screen state as the visitor gets it: sizes, places, order, states.
function state() {
  const box = (e) => {
    const r = e.getBoundingClientRect();
    return { x: r.left, y: r.top, w: r.width, h: r.height, r: r.right };
  };
  const b = document.getElementById('qB');
  const list = document.getElementById('qL');
  const shown = (e) => !!e && getComputedStyle(e).display !== 'none' && e.getClientRects().length > 0;
  const toggle = (i) => {
    const c = document.getElementById('cap' + i);
    return c.querySelector('button.qT') || c;
  };
  return {
    vw: document.documentElement.clientWidth,
    vh: window.innerHeight,
    scrollWidth: document.documentElement.scrollWidth,
    button: shown(b) ? { ...box(b), expanded: b.getAttribute('aria-expanded'), controls: b.getAttribute('aria-controls'), name: b.textContent } : null,
    listShown: shown(list),
    order: list ? [...list.children].map((o) => +o.id.slice(5)) : [],
    expanded: Array.from({ length: numOfMenus }, (_, i) => toggle(i).getAttribute('aria-expanded')),
  };
}

// One caption of the open list, its body opened: where caption, toggle, body and links lie, and
// whether each link is the element a tap at its centre reaches once it is scrolled into view.
function opened(i) {
  const box = (e) => {
    const r = e.getBoundingClientRect();
    return { x: r.left, y: r.top, w: r.width, h: r.height, r: r.right };
  };
  const c = document.getElementById('cap' + i);
  const t = c.querySelector('button.qT') || c;
  const body = document.getElementById('menu' + i);
  const cs = getComputedStyle(c);
  const linkInfo = [...body.querySelectorAll('a')].map((a) => {
    a.scrollIntoView({ block: 'nearest' });
    const r = a.getBoundingClientRect();
    const hit = document.elementFromPoint(r.left + r.width / 2, r.top + r.height / 2);
    return { ...box(a), hit: !!hit && a.contains(hit), font: parseFloat(getComputedStyle(a).fontSize) };
  });
  c.scrollIntoView({ block: 'nearest' });
  const img = body.querySelector('img');
  return {
    caption: box(c), toggle: box(t), body: box(body), links: linkInfo,
    font: parseFloat(cs.fontSize), bodyFont: parseFloat(getComputedStyle(body).fontSize),
    img: img ? box(img) : null, scrollWidth: document.documentElement.scrollWidth,
  };
}

function assertFits(s, what) {
  assert.ok(s.scrollWidth <= s.vw, `${what}: no sideways scrolling (${s.scrollWidth} > ${s.vw})`);
}

function assertBodyUsable(o, vw, what) {
  assert.ok(o.body.x >= 0 && o.body.r <= vw + 0.5, `${what}: body inside the viewport (${o.body.x}..${o.body.r} of ${vw})`);
  assert.ok(o.caption.h >= 44 && o.toggle.h >= 44 && o.toggle.w >= 44, `${what}: caption row and toggle at least 44 px`);
  assert.ok(o.font >= 16 && o.bodyFont >= 16, `${what}: text at least 16 px (${o.font}, ${o.bodyFont})`);
  assert.ok(o.scrollWidth <= vw, `${what}: open body scrolls nothing sideways (${o.scrollWidth})`);
  if (o.img) assert.ok(o.img.r <= vw + 0.5, `${what}: picture scaled to the width`);
  for (const [k, l] of o.links.entries()) {
    assert.ok(l.h >= 44 && l.w >= 44, `${what}: link ${k} is ${l.w} x ${l.h}`);
    assert.ok(l.x >= 0 && l.r <= vw + 0.5, `${what}: link ${k} inside the viewport`);
    assert.ok(l.hit, `${what}: link ${k} is what a tap at its centre reaches`);
    assert.ok(l.font >= 16, `${what}: link ${k} text at least 16 px`);
  }
}

// Pointer activation of an element's centre: a tap where the page has touch, a click otherwise.
async function activate(page, id, touch) {
  const find = (x) => document.getElementById(x) || document.querySelector(x);
  await page.eval((x, f) => new Function(`return (${f})`)()(x).scrollIntoView({ block: 'nearest' }), id, find.toString());
  // A floating list follows the scroll on the scroll event: measure once it has.
  await sleep(60);
  const r = await page.eval((x, f) => {
    const b = new Function(`return (${f})`)()(x).getBoundingClientRect();
    return { x: b.left + Math.min(b.width / 2, 30), y: b.top + b.height / 2 };
  }, id, find.toString());
  if (touch) {
    await page.tap(r.x, r.y);
  } else {
    await page.move(r.x, r.y);
    await page.down();
    await page.up();
  }
}

// Waits until the page has stopped scrolling (a swipe leaves it flinging for a while): a tap on a
// flinging page only stops the fling and makes no click, in the browser as on a phone.
async function atRest(page, what) {
  const where = () => [scrollX, scrollY, visualViewport.offsetLeft, visualViewport.offsetTop, visualViewport.scale].join();
  let last = await page.eval(where);
  let still = 0;
  for (const end = Date.now() + 5000; still < 3;) {
    if (Date.now() > end) throw new Error(`${what}: the page is still scrolling (at ${last})`);
    await sleep(100);
    const now = await page.eval(where);
    still = now === last ? still + 1 : 0;
    last = now;
  }
}

// Every caption by pointer, in reading order: the button opens the list, each caption its body
// (closing the one before), and every link of every body is large, inside and reachable.
async function walkByPointer(page, order, touch, what) {
  await activate(page, 'qB', touch);
  await waitFor(page, () => document.getElementById('qB').getAttribute('aria-expanded') === 'true', [], { what: `${what}: list open` });
  let s = await page.eval(state);
  assert.equal(s.listShown, true);
  assert.deepEqual(s.order, order, `${what}: reading order`);
  assertFits(s, `${what}, list open`);
  for (const i of order) {
    await activate(page, (await page.eval((k) => (document.querySelector('#cap' + k + ' button.qT') ? '#cap' + k + ' button.qT' : 'cap' + k), i)), touch);
    await waitFor(page, (k) => getComputedStyle(document.getElementById('menu' + k)).display !== 'none', [i], { what: `${what}: body ${i} open` });
    s = await page.eval(state);
    assert.deepEqual(s.expanded.map((e, k) => (e === 'true' ? k : -1)).filter((k) => k >= 0), [i], `${what}: only body ${i} open`);
    assertBodyUsable(await page.eval(opened, i), s.vw, `${what}, menu ${i}`);
  }
}

// Every caption and link by keyboard: Tab from the button through the list in reading order,
// Enter opening each body; then Escape closes the list and goes back to the button.
async function walkByKeyboard(page, order, what) {
  await page.eval(() => { document.activeElement && document.activeElement.blur && document.activeElement.blur(); window.scrollTo(0, 0); });
  const focus = () => {
    const e = document.activeElement;
    return e ? e.id || (e.className === 'qT' ? 'qT' + e.closest('[id^=cap]').id.slice(3) : e.getAttribute('href')) : null;
  };
  let got = null;
  for (let k = 0; k < 3 && got !== 'qB'; k++) {
    await page.press('Tab');
    got = await page.eval(focus);
  }
  assert.equal(got, 'qB', `${what}: the button is the first tab stop`);
  await page.press('Enter');
  await waitFor(page, () => document.getElementById('qB').getAttribute('aria-expanded') === 'true', [], { what: `${what}: list opened by Enter` });
  for (const i of order) {
    const stops = await page.eval((k) => {
      const c = document.getElementById('cap' + k);
      const t = c.querySelector('button.qT');
      const own = [...c.querySelectorAll('a[href]')].map((a) => a.getAttribute('href'));
      return { own, toggle: t ? 'qT' + k : 'cap' + k, links: [...document.querySelectorAll('#menu' + k + ' a')].map((a) => a.getAttribute('href')) };
    }, i);
    for (const want of [...stops.own, stops.toggle]) {
      await page.press('Tab');
      assert.equal(await page.eval(focus), want, `${what}: Tab reaches ${want}`);
    }
    await page.press(i % 2 ? ' ' : 'Enter');
    await waitFor(page, (k) => getComputedStyle(document.getElementById('menu' + k)).display !== 'none', [i], { what: `${what}: body ${i} opened by key` });
    for (const want of stops.links) {
      await page.press('Tab');
      assert.equal(await page.eval(focus), want, `${what}: Tab reaches ${want}`);
    }
  }
  await page.press('Escape');
  await waitFor(page, () => document.getElementById('qB').getAttribute('aria-expanded') === 'false', [], { what: `${what}: closed by Escape` });
  assert.equal(await page.eval(focus), 'qB', `${what}: Escape returns to the button`);
  assert.equal((await page.eval(state)).listShown, false);
}

// Where each menu stands on the desktop page: owners, captions, and the closed bodies' offsets.
function desktop() {
  return Array.from({ length: numOfMenus }, (_, i) => {
    const r = (id) => {
      const b = document.getElementById(id).getBoundingClientRect();
      return [b.left, b.top, b.width, b.height].map(Math.round);
    };
    return { owner: r('owner' + i), cap: r('cap' + i), off: qlOffset(i), closed: qlIsClosed(i) };
  }).concat([{ scrollWidth: document.documentElement.scrollWidth, button: getComputedStyle(document.getElementById('qB') || document.body).display }]);
}

const PHONES = [320, 360, 390, 768];

eachEngine((page, engine) => {
  const touch = engine === 'chromium';
  it('at 1280 px the page is the desktop page, pixel for pixel as with the mode off', async () => {
    await page.resize(1280, 800);
    await page.goto(urls.headerOff);
    const off = await page.eval(desktop);
    await page.goto(urls.header);
    const on = await page.eval(desktop);
    off[off.length - 1].button = 'none';
    assert.deepEqual(on, off);
    assert.deepEqual(on[0].owner.slice(0, 2), [10, 10]);
  });

  it('phone and tablet widths: one button, a list in reading order, every caption and link usable by pointer and keyboard', async () => {
    // Chromium also at device scale 1 (360 px, the header). The tab order is the same at every
    // width of the list, so the keyboard walks it at the narrowest and the widest.
    const cases = [];
    for (const width of PHONES) {
      for (const [name, order, caption] of [['header', HEADER_ORDER, 'Menu'], ['shop', SHOP_ORDER, 'Navigation']]) {
        cases.push({ width, name, order, caption, scale: engine === 'chromium' ? 3 : 1 });
      }
    }
    if (engine === 'chromium') cases.push({ width: 360, name: 'header', order: HEADER_ORDER, caption: 'Menu', scale: 1 });
    for (const { width, name, order, caption, scale } of cases) {
      const what = `${name} at ${width} px, scale ${scale}`;
      await page.renew();
      await page.resize(width, 700, { scale, mobile: touch });
      await page.goto(urls[name]);
      const s = await page.eval(state);
      assertFits(s, what);
      assert.ok(s.button, `${what}: the button is shown`);
      assert.deepEqual([s.button.expanded, s.button.controls, s.button.name], ['false', 'qL', caption]);
      assert.ok(s.button.w >= 44 && s.button.h >= 44 && s.button.x >= 0 && s.button.r <= s.vw + 0.5, `${what}: button ${JSON.stringify(s.button)}`);
      if (name === 'shop') assert.ok(s.button.x > s.vw / 2, `${what}: button at the top right`);
      assert.equal(s.listShown, false);
      // Closed, the button covers none of the page's text.
      const text = await page.eval(() => document.getElementById('text').getBoundingClientRect().top);
      assert.ok(text >= s.button.y + s.button.h, `${what}: text starts below the button`);
      await walkByPointer(page, order, touch, what);
      if (width === 320 || width === 768) {
        await page.goto(urls[name]);
        await walkByKeyboard(page, order, what);
      }
    }
  });

  it('a link in the list is followed and closes the list; a press outside closes it; above the breakpoint again, the desktop page is back', async () => {
    // WebKit's window is no narrower than 500 px, and this case resizes the page it has loaded.
    const narrow = engine === 'webkit' ? 500 : 360;
    await page.resize(narrow, 700, { scale: 2, mobile: touch });
    await page.goto(urls.header);
    await activate(page, 'qB', touch);
    await activate(page, 'cap0', touch);
    await activate(page, '#menu0 a[href="#m02"]', touch);
    await waitFor(page, () => location.hash === '#m02' && document.getElementById('qB').getAttribute('aria-expanded') === 'false', [], {
      what: 'link followed, list closed',
    });
    await activate(page, 'qB', touch);
    const below = await page.eval(() => [document.getElementById('qL').getBoundingClientRect().bottom, innerHeight]);
    assert.ok(below[0] < below[1] - 20, `room below the list (${below})`);
    if (touch) await page.tap(200, below[1] - 10);
    else await page.move(200, below[1] - 10).then(() => page.down()).then(() => page.up());
    await waitFor(page, () => !qlBox('qL').h, [], { what: 'list closed by a press outside' });
    // A caption that is a link: followed at once; its own toggle opens the body.
    await activate(page, 'qB', touch);
    await activate(page, '#cap2 a', touch);
    await waitFor(page, () => location.hash === '#home', [], { what: 'caption link followed' });
    // (A change of touch emulation reloads the page in Chromium: the phone keeps it throughout.)
    await page.resize(1280, 800, { mobile: touch });
    await page.goto(urls.headerOff);
    const want = await page.eval(desktop);
    await page.resize(narrow, 700, { scale: 2, mobile: touch });
    await page.goto(urls.header);
    await activate(page, 'qB', touch);
    await activate(page, 'cap3', touch);
    await page.resize(1280, 800, { mobile: touch });
    await waitFor(page, () => getComputedStyle(document.getElementById('qB')).display === 'none', [], { what: 'desktop layout' });
    want[want.length - 1].button = 'none';
    assert.deepEqual(await page.eval(desktop), want, 'menus back at their places, closed, in their own order');
    assert.deepEqual(await page.eval(() => [...document.getElementById('qL').children].map((o) => o.id)),
      HEADER.menus.map((_, i) => 'owner' + i), 'Tab order is the menus\' own again');
  });

  it('the button at the first menu\'s place stays inside a narrow viewport', async () => {
    await page.resize(360, 700, { mobile: touch });
    await page.goto(urls.shopAt);
    const s = await page.eval(state);
    assert.ok(s.button && s.button.x >= 0 && s.button.r <= s.vw && Math.round(s.button.y) === SHOP.menus[SHOP_ORDER[0]].MY, JSON.stringify(s.button));
    assertFits(s, 'first menu\'s place');
  });

  it('the preview below the breakpoint selects a pressed menu but never reports the list as a place', async () => {
    await page.resize(390, 700);
    await page.goto(urls.preview);
    await activate(page, 'qB', false);
    const cap = await page.eval(() => qlBox('cap3'));
    await page.move(cap.x + 20, cap.y + 10);
    await page.down();
    await page.move(cap.x + 80, cap.y + 60, 3);
    await page.up();
    const r = await page.eval(() => ({
      titles: qlTitles.filter((t) => t.startsWith('!qLoomIDE:')),
      errors: qlErrors,
      places: [...document.querySelectorAll('[id^=owner]')].map((o) => o.style.left + ',' + o.style.top),
    }));
    assert.deepEqual(r.errors, []);
    assert.ok(r.titles.includes('!qLoomIDE:ySetSel(3)'), JSON.stringify(r.titles));
    assert.ok(!r.titles.some((t) => /docMouseMove/.test(t)), JSON.stringify(r.titles));
    assert.ok(r.places.every((p) => p === ','), `no menu moved: ${r.places}`);
  });

  it('axe finds nothing serious in the small-screen list, closed and open', async () => {
    await page.resize(360, 700, { mobile: touch });
    await page.goto(urls.header);
    const axe = fs.readFileSync(path.join(__dirname, 'node_modules/axe-core/axe.min.js'), 'utf8');
    await page.eval((src) => {
      const s = document.createElement('script');
      s.text = src;
      document.head.appendChild(s);
    }, axe);
    const run = () => page.eval(async () => {
      const r = await axe.run({ include: [['#qS']] }, { rules: { 'color-contrast': { enabled: false } } });
      return r.violations.filter((v) => v.impact === 'serious' || v.impact === 'critical').map((v) => `${v.id}: ${v.nodes.length}`);
    });
    assert.deepEqual(await run(), [], 'closed');
    await activate(page, 'qB', touch);
    await activate(page, 'cap6', touch);
    assert.deepEqual(await run(), [], 'open');
  });

  it('generic font families follow the project\'s fonts, and the header keeps the names', async () => {
    await page.resize(1280, 800);
    await page.goto(urls.header);
    const f = await page.eval(() => [getComputedStyle(document.getElementById('cap0')).fontFamily,
      getComputedStyle(document.getElementById('menu0')).fontFamily, fDefCap, fDefMenu]);
    assert.match(f[0], /^"?Verdana"?, sans-serif$/);
    assert.match(f[1], /^"?Times New Roman"?, serif$/);
    assert.deepEqual(f.slice(2), ['Verdana', 'Times New Roman']);
  });

  // Desktop zoom: the window stays 1280 device px wide and the CSS viewport shrinks with the zoom.
  for (const zoom of [2, 4]) {
    it(`desktop zoom ${zoom * 100}%: the mouse and the keyboard reach everything in the list`, async () => {
      await page.resize(1280 / zoom, 800 / zoom, { scale: zoom });
      await page.goto(urls.header);
      const s = await page.eval(state);
      assertFits(s, `zoom ${zoom}`);
      // WebKit's driver sets no device scale: there the window is as narrow as the zoomed one.
      if (engine !== 'webkit') assert.equal(await page.eval(() => window.devicePixelRatio), zoom);
      await walkByPointer(page, HEADER_ORDER, false, `zoom ${zoom}`);
      if (zoom === 4) {
        await page.renew();
        await page.goto(urls.header);
        await walkByKeyboard(page, HEADER_ORDER, `zoom ${zoom}`);
      }
    });
  }

  it('a mouse click outside closes a click menu at desktop width, and opening one closes the other', async () => {
    await page.resize(1280, 800);
    await page.goto(urls.header);
    await activate(page, 'cap1', false);
    await waitFor(page, () => qlIsOpen(1), [], { what: 'click menu open' });
    await activate(page, 'cap3', false);
    await waitFor(page, () => qlIsOpen(3) && qlIsClosed(1), [], { what: 'second click menu open, first closed' });
    await activate(page, 'text', false);
    await waitFor(page, () => qlIsClosed(3), [], { what: 'closed by a click outside' });
  });
});

// Touch: floating button, swipes and taps (Chromium's touch emulation; Firefox with touch events).
eachEngine((page, engine) => {
  const phone = engine === 'chromium';

  it('a tap on a second caption closes the first at desktop width; a swipe closes nothing, a tap outside does', async () => {
    await page.resize(1280, 800, { mobile: phone });
    await page.goto(urls.header);
    await activate(page, 'cap0', true);
    await waitFor(page, () => qlIsOpen(0), [], { what: 'first open' });
    await activate(page, 'cap1', true);
    await waitFor(page, () => qlIsOpen(1) && qlIsClosed(0), [], { what: 'second open, first closed' });
    if (page.swipe) {
      const t = await page.eval(() => qlBox('text'));
      await page.swipe(t.x + 40, t.y + 200, 0, -150);
      await sleep(200);
      assert.ok(await page.eval(() => qlIsOpen(1)), 'a swipe on the page leaves the body open');
    }
    await activate(page, 'text', true);
    await waitFor(page, () => qlIsClosed(1), [], { what: 'closed by a tap outside' });
  });

  if (!phone) return;

  it('phone: the button of floating menus follows the visual viewport, covers nothing closed, and keeps its links in reach', async () => {
    await page.resize(360, 640, { scale: 3, mobile: true });
    await page.goto(urls.header);
    await page.eval(() => window.scrollTo(0, 1500));
    await sleep(100);
    const inView = () => {
      const v = window.visualViewport;
      const r = document.getElementById('qB').getBoundingClientRect();
      return { top: r.top - v.offsetTop, bottom: r.bottom - v.offsetTop, left: r.left - v.offsetLeft, right: r.right - v.offsetLeft, vh: v.height, vw: v.width };
    };
    let b = await waitFor(page, () => {
      const r = document.getElementById('qB').getBoundingClientRect();
      return r.top >= 0 && r.top < 5 ? { top: r.top, height: r.height } : null;
    }, [], { what: 'button at the top after scrolling' });
    assert.ok(b.height >= 44);
    // Pinch-zoomed in and panned: the button stays inside what the visitor sees.
    const cdp = await page.page.createCDPSession();
    await cdp.send('Emulation.setPageScaleFactor', { pageScaleFactor: 2 });
    await page.swipe(200, 400, -100, -200);
    await atRest(page, 'pinch-zoomed pan');
    b = await page.eval(inView);
    assert.ok(b.top >= -1 && b.bottom <= b.vh + 1 && b.left >= -1 && b.right <= b.vw + 1, `button in the visual viewport ${JSON.stringify(b)}`);
    await cdp.send('Emulation.setPageScaleFactor', { pageScaleFactor: 1 });
    await cdp.detach();
    await atRest(page, 'zoomed back out');
    // Open, the list fits the visible height and scrolls itself, so its last link can be tapped.
    await activate(page, 'qB', true);
    await waitFor(page, () => document.getElementById('qB').getAttribute('aria-expanded') === 'true', [], { what: 'list open' });
    await activate(page, 'cap6', true);
    await waitFor(page, () => getComputedStyle(document.getElementById('menu6')).display !== 'none', [], { what: 'floating body open' });
    await page.eval(() => document.querySelector('#menu6 a[href="#side2"]').scrollIntoView({ block: 'nearest' }));
    // The button follows a scroll of the page on the scroll event, which a busy machine delivers
    // late: measure until it has (at most two seconds).
    let last;
    for (let tries = 0; tries < 20; ++tries) {
      await sleep(100);
      last = await page.eval(() => {
        const list = document.getElementById('qL').getBoundingClientRect();
        const a = document.querySelector('#menu6 a[href="#side2"]');
        const r = a.getBoundingClientRect();
        const hit = document.elementFromPoint(r.left + 5, r.top + r.height / 2);
        return { listBottom: list.bottom, vh: visualViewport.height, hit: hit === a };
      });
      if (last.listBottom <= last.vh + 1 && last.hit) break;
    }
    assert.ok(last.listBottom <= last.vh + 1 && last.hit, JSON.stringify(last));
    // A swipe through the open list scrolls it and closes nothing.
    await page.swipe(100, 300, 0, -120);
    await sleep(200);
    assert.equal(await page.eval(() => document.getElementById('qB').getAttribute('aria-expanded')), 'true');
  });
}, { title: (engine) => `${engine}, touch`, options: { touch: true }, engines: ['chromium', 'firefox'] });
