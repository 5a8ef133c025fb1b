'use strict';
// The published page for visitors without a mouse, or who need more than one: keyboard, screen
// readers (roles, names, states; axe-core), touch and pen, reduced motion, overlapping menus, and
// a host page whose own handlers must keep working next to the menus.
const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');
const { it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { eachEngine, waitFor, sleep } = require('./lib/engines');
const { Site, template, PIXEL } = require('./lib/pages');
const { isOpen, isClosed, boxOf } = require('./lib/probes');

const LINKS = (k) => `<a href="#${k}1">${k} one</a><br><a href="#${k}2">${k} two</a>`;

// A hover menu, a click menu, a picture-only caption, and a caption that is a link itself;
// then the host page's own link.
const MENUS = {
  settings: { scrIN: 20, scrOUT: 10 },
  menus: [
    { MX: 20, MY: 30, MW: 150, MTCH: 22, MTC: 'Products', MTM: LINKS('p'), MA: 0 },
    { MX: 200, MY: 30, MW: 150, MTCH: 22, MTC: 'Services', MTM: LINKS('s'), MA: 1 },
    { MX: 380, MY: 30, MW: 150, MTCH: 22, MTC: `<img src="${PIXEL}" width="40" height="16" alt="Support">`, MTM: LINKS('h') },
    { MX: 560, MY: 30, MW: 150, MTCH: 22, MTC: '<a href="#home">Home</a>', MTM: LINKS('m') },
  ],
};
const HOST = '<p style="margin-top:300px"><a id="host" href="#host">Host link</a></p>';

// Two hover menus 24 px apart: the first one's body opens across the second one's caption.
const OVERLAP = {
  menus: [
    { MX: 20, MY: 30, MW: 150, MTCH: 22, MTC: 'Upper', MTM: LINKS('u') + '<div style="height:60px"></div>' },
    { MX: 20, MY: 54, MW: 150, MTCH: 22, MTC: 'Lower', MTM: LINKS('l') },
  ],
};

// A host page that set its own handlers before the script loads, and listens after it.
const GUEST_PAGE = [
  '<HTML><HEAD><SCRIPT>',
  'window.hostKeys = Object.keys(window);',
  'window.hostScrolls = 0; window.hostOnerror = []; window.hostListened = [];',
  'window.onscroll = function () { hostScrolls++; };',
  'window.onerror = function (m) { hostOnerror.push(String(m)); };',
  'window.addEventListener("error", function (e) { hostListened.push(String(e.message)); });',
  '</SCRIPT>',
  '<SCRIPT LANGUAGE="JavaScript" SRC="Qloomscript.js"></SCRIPT>',
  '</HEAD><BODY leftmargin=0 topmargin=0>',
  '<SCRIPT LANGUAGE="JavaScript">makeQloom()</SCRIPT>',
  '<div style="height:3000px"></div>',
  '<SCRIPT>window.hostPrevented = []; window.addEventListener("error", function (e) { hostPrevented.push(e.defaultPrevented); });</SCRIPT>',
  '</BODY></HTML>',
].join('\r\n');
const GUEST = {
  menus: [
    { MX: 20, MY: 40, FL: 1, MTM: '<script>menuWriteBoom()</script><a id="bad" href="#" onclick="menuHandlerBoom(); return false">x</a>' },
  ],
};

const focused = () => {
  const e = document.activeElement;
  return e ? e.id || e.getAttribute('href') || e.className : null;
};
const expanded = (i) => {
  const c = document.getElementById('cap' + i);
  const t = c.querySelector('button.qT') || c;
  return t.getAttribute('aria-expanded');
};

const site = new Site();
const urls = {};

before(async () => {
  await site.start();
  urls.menus = site.project('access', MENUS, { page: template({ after: HOST }) });
  urls.overlap = site.project('overlap', OVERLAP);
  urls.guest = site.project('guest', GUEST, { page: GUEST_PAGE });
});

after(() => site.stop());

// What the visitor downloads after the header, comments stripped by the build, as written.
it('the published runtime, small-screen mode included, stays within 6 KB gzip -9', () => {
  const script = site.scriptText('access');
  const runtime = script.slice(script.indexOf('var Qloom = Qloom'));
  assert.ok(runtime.length > 1000 && !/^\s*\/\//m.test(runtime), 'runtime found, without comment lines');
  const gz = zlib.gzipSync(Buffer.from(runtime, 'latin1'), { level: 9 }).length;
  assert.ok(gz <= 6144, `runtime is ${gz} bytes gzip -9`);
});

eachEngine((page, engine) => {
  it('keyboard: Tab reaches captions first, Enter and Space toggle, Escape closes back to the caption', async () => {
    await page.renew();
    await page.goto(urls.menus);
    await page.press('Tab');
    assert.equal(await page.eval(focused), 'cap0', 'first caption before the host link');
    const ring = await page.eval(() => {
      const s = getComputedStyle(document.activeElement);
      return [s.outlineStyle, s.outlineWidth];
    });
    assert.deepEqual(ring, ['solid', '2px'], 'visible focus ring');
    await page.press('Enter');
    await waitFor(page, isOpen, [0], { what: 'opened by Enter' });
    assert.equal(await page.eval(expanded, 0), 'true');
    await page.press('Tab');
    assert.equal(await page.eval(focused), '#p1', 'Tab enters the open body');
    await page.press('Escape');
    assert.equal(await page.eval(focused), 'cap0', 'Escape returns to the caption');
    await waitFor(page, isClosed, [0], { what: 'closed by Escape' });
    assert.equal(await page.eval(expanded, 0), 'false');
    await page.press(' ');
    await waitFor(page, isOpen, [0], { what: 'opened by Space' });
    await page.press('Tab');
    await page.press('Tab');
    await page.press('Tab');
    assert.equal(await page.eval(focused), 'cap1', 'from the last body link on to the next caption');
    await waitFor(page, isClosed, [0], { what: 'hover menu closed when focus left it' });
    // A click menu opens from the keyboard as well; Escape with focus on the caption closes it.
    await page.press('Enter');
    await waitFor(page, isOpen, [1], { what: 'click menu opened by Enter' });
    await page.press('Escape');
    await waitFor(page, isClosed, [1], { what: 'click menu closed by Escape' });
  });

  it('keyboard: a caption that is a link keeps it, and a separate toggle next to it opens the body', async () => {
    await page.renew();
    await page.goto(urls.menus);
    for (let k = 0; k < 4; k++) await page.press('Tab');
    assert.equal(await page.eval(focused), '#home', 'the caption link is a tab stop of its own');
    await page.press('Enter');
    await waitFor(page, () => location.hash === '#home', [], { what: 'caption link followed' });
    assert.ok(await page.eval(isClosed, 3), 'following the link does not open the menu');
    await page.press('Tab');
    const toggle = await page.eval(() => {
      const e = document.activeElement;
      return { cls: e.className, name: e.getAttribute('aria-label'), shown: getComputedStyle(e).opacity };
    });
    assert.deepEqual(toggle, { cls: 'qT', name: 'Home', shown: '1' });
    await page.press('Enter');
    await waitFor(page, isOpen, [3], { what: 'opened by its toggle' });
    assert.equal(await page.eval(expanded, 3), 'true');
    await page.press('Tab');
    assert.equal(await page.eval(focused), '#m1');
    await page.press('Escape');
    assert.equal(await page.eval(focused), 'qT', 'Escape returns to the toggle');
    await waitFor(page, isClosed, [3], { what: 'closed by Escape' });
  });

  it('exposes each caption as a named button with its expanded state, and passes axe with a menu open', async () => {
    await page.goto(urls.menus);
    const dom = () => Array.from({ length: numOfMenus }, (_, i) => {
      const c = document.getElementById('cap' + i);
      const t = c.querySelector('button.qT') || c;
      return {
        role: t.tagName === 'BUTTON' ? 'button' : t.getAttribute('role'),
        controls: t.getAttribute('aria-controls'),
        expanded: t.getAttribute('aria-expanded'),
        focusable: t.tabIndex === 0,
      };
    });
    const closed = await page.eval(dom);
    for (const [i, c] of closed.entries()) {
      assert.deepEqual(c, { role: 'button', controls: 'menu' + i, expanded: 'false', focusable: true });
    }
    const tree = async () => {
      if (!page.page || engine !== 'chromium') return null;
      const snap = await page.page.accessibility.snapshot({ interestingOnly: false });
      const found = [];
      const walk = (n) => {
        if (n.role === 'button') found.push({ name: n.name, expanded: !!n.expanded });
        (n.children || []).forEach(walk);
      };
      walk(snap);
      return found;
    };
    const before = await tree();
    if (before) {
      assert.deepEqual(before, ['Products', 'Services', 'Support', 'Home'].map((name) => ({ name, expanded: false })));
    }
    // Links of closed bodies are not in the tab order or the accessibility tree.
    assert.equal(await page.eval(() => getComputedStyle(document.querySelector('#menu0 a')).visibility), 'hidden');
    await page.eval(() => Qloom.mOpen(0));
    await waitFor(page, isOpen, [0], { what: 'menu open' });
    assert.equal((await page.eval(dom))[0].expanded, 'true');
    const afterOpen = await tree();
    if (afterOpen) assert.deepEqual(afterOpen[0], { name: 'Products', expanded: true });

    const axe = fs.readFileSync(path.join(__dirname, 'node_modules/axe-core/axe.min.js'), 'utf8');
    await page.eval((src) => {
      const s = document.createElement('script');
      s.text = src;
      document.head.appendChild(s);
    }, axe);
    const found = await page.eval(async () => {
      // The menus, not the host page's own title, language or landmarks.
      const include = Array.from({ length: numOfMenus }, (_, i) => ['#owner' + i]);
      const r = await axe.run({ include }, { rules: { 'color-contrast': { enabled: false } } });
      return r.violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.length }));
    });
    const grave = found.filter((v) => v.impact === 'serious' || v.impact === 'critical');
    assert.deepEqual(grave, [], JSON.stringify(found));
  });

  it('only the primary button toggles a click menu, and an open body lies above the next menu', async () => {
    await page.goto(urls.menus);
    const cap = await page.eval(boxOf, 'cap1');
    await page.move(cap.x + 20, cap.y + 10);
    await page.rightDown();
    await page.rightUp();
    await sleep(150);
    assert.ok(await page.eval(isClosed, 1), 'right button changes nothing');
    // Close the browser's context menu, if any, before the next page.
    await page.press('Escape');

    await page.goto(urls.overlap);
    const upper = await page.eval(boxOf, 'cap0');
    await page.move(upper.x + 40, upper.y + 10, 2);
    await waitFor(page, isOpen, [0], { what: 'upper menu open' });
    // Down across the lower menu's caption, which the open body now covers.
    const lower = await page.eval(boxOf, 'cap1');
    await page.move(lower.x + 40, lower.y + 10, 4);
    await sleep(200);
    const r = await page.eval((x, y) => {
      const e = document.elementFromPoint(x, y);
      return { inUpper: document.getElementById('menu0').contains(e), lowerShown: qlShown(1), upperOpen: qlIsOpen(0) };
    }, lower.x + 10, lower.y + 8);
    assert.deepEqual(r, { inUpper: true, lowerShown: false, upperOpen: true });
    // Its links there can be hit.
    const hit = await page.eval(() => {
      const a = document.getElementById('menu0').querySelector('a[href="#u2"]').getBoundingClientRect();
      const e = document.elementFromPoint(a.left + 3, a.top + a.height / 2);
      return e && e.getAttribute('href');
    });
    assert.equal(hit, '#u2');
  });

  it('Escape closes a hover menu while the pointer still rests on it', async () => {
    await page.renew();
    await page.goto(urls.menus);
    const cap = await page.eval(boxOf, 'cap0');
    await page.move(cap.x + cap.w / 2, cap.y + cap.h / 2, 3);
    await waitFor(page, isOpen, [0], { what: 'hover menu open' });
    await page.press('Escape');
    await waitFor(page, isClosed, [0], { what: 'closed by Escape under the pointer' });
  });

  it('is a good guest: the host keeps its handlers, and only menu errors reach the error window', async () => {
    const consoleErrors = [];
    if (page.onPageError) page.onPageError((m) => consoleErrors.push(m));
    await page.goto(urls.guest);
    // The error written with the menu is listed; the host's handlers saw it as well.
    await waitFor(page, () => /menuWriteBoom/.test(errs), [], { what: 'menu error listed' });
    await page.eval(() => window.scrollTo(0, 500));
    await waitFor(page, () => hostScrolls > 0 && document.getElementById('owner0').getBoundingClientRect().top === 40, [], {
      what: 'host scroll handler and floating menu',
    });
    // A script of the host page's own, failing later on a timer.
    await page.eval(() => {
      const s = document.createElement('script');
      s.text = 'setTimeout(function () { hostOwnBoom(); }, 0);';
      document.body.appendChild(s);
    });
    await waitFor(page, () => hostListened.some((m) => /hostOwnBoom/.test(m)), [], { what: 'host error raised' });
    await sleep(100);
    const r = await page.eval(() => ({
      listed: errs,
      onerror: hostOnerror.some((m) => /hostOwnBoom/.test(m)),
      prevented: hostPrevented.some(Boolean),
    }));
    assert.doesNotMatch(r.listed, /hostOwnBoom/, 'a host error is not the menus\' business');
    // The script's own globals: the header's data, makeQloom and the one namespace object.
    const added = await page.eval(() => Object.keys(window).filter((k) => !hostKeys.includes(k) && !/^(host|ql)/.test(k)).sort());
    assert.deepEqual(added, ['CC', 'CM', 'CO', 'FL', 'IDE', 'MA', 'MTC', 'MTCH', 'MTM', 'MW', 'MX', 'MY', 'OO', 'PR',
      'PRJ_sTemplate', 'Qloom', 'cDefCap', 'cDefMenu', 'errs', 'fDefCap', 'fDefCapS', 'fDefMenu', 'fDefMenuS',
      'heightChk', 'iSelectedMenu', 'makeQloom', 'numOfMenus', 'old_pageYOffset', 'qLoomIDE_Ver', 'scrIN', 'scrOUT',
      'widthChk'].sort());
    assert.deepEqual([r.onerror, r.prevented], [true, false], 'the host\'s own onerror still runs; nothing suppressed');
    await page.eval(() => document.getElementById('bad').click());
    await waitFor(page, () => /menuHandlerBoom/.test(errs), [], { what: 'menu handler error listed' });
    if (engine === 'chromium') {
      assert.ok(consoleErrors.some((m) => /hostOwnBoom/.test(m)), 'host error reached the console');
    }
  });
});

// Touch and reduced motion need their own browser set-up (Firefox: at launch).
eachEngine((page, engine) => {
  it('with reduced motion a body opens and closes in one step', async () => {
    await page.goto(urls.menus);
    if (engine === 'webkit') {
      // WebKit's driver offers no way to ask for it: answer the page's question instead.
      await page.eval(() => {
        window.matchMedia = (q) => ({ matches: /prefers-reduced-motion: reduce/.test(q) });
      });
    }
    const r = await page.eval(async () => {
      Qloom.mOpen(0);
      const opened = qlIsOpen(0);
      Qloom.mClose(0);
      const far = qlOffset(0) === MTCH[0] - qlExtent(0);
      await new Promise((res) => setTimeout(res, 120));
      return { opened, far, closed: qlIsClosed(0) };
    });
    assert.deepEqual(r, { opened: true, far: true, closed: true });
  });

  if (engine === 'webkit') return; // no touch input through WebKit's driver

  it('touch: a tap opens a hover menu without following its link, a second closes, a tap outside closes all', async () => {
    await page.goto(urls.menus);
    const cap0 = await page.eval(boxOf, 'cap0');
    await page.tap(cap0.x + 20, cap0.y + 10);
    await waitFor(page, isOpen, [0], { what: 'tap opened' });
    await page.tap(cap0.x + 20, cap0.y + 10);
    await waitFor(page, isClosed, [0], { what: 'second tap closed' });
    // A caption that is a link: the first tap opens the menu and goes nowhere.
    const home = await page.eval(() => qlBox('cap3'));
    await page.tap(home.x + 10, home.y + 10);
    await waitFor(page, isOpen, [3], { what: 'link caption opened by a tap' });
    assert.equal(await page.eval(() => location.hash), '', 'the tap did not follow the caption link');
    const cap1 = await page.eval(boxOf, 'cap1');
    await page.tap(cap1.x + 20, cap1.y + 10);
    await waitFor(page, isOpen, [1], { what: 'click menu opened by a tap' });
    await page.tap(800, 600);
    await waitFor(page, () => qlIsClosed(1) && qlIsClosed(3), [], { what: 'tap outside closed every menu' });
  });
}, { title: (engine) => `${engine}, touch and reduced motion`, options: { touch: true, still: true } });
