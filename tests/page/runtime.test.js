'use strict';
// The published page (no editing layer) in every engine: building, opening, closing, floating,
// clipping and the error window, on pages without and with a DOCTYPE.
const { it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { eachEngine, waitFor, sleep } = require('./lib/engines');
const { Site, template } = require('./lib/pages');
const { isOpen, isClosed, boxOf } = require('./lib/probes');

const BODY100 = '<div style="height:100px"></div>';
const WIDE100 = '<div style="width:100px;height:10px"></div>';

// Horizontal hover menu, vertical hover menu, horizontal click menu; all 100 px bodies.
const MENUS = {
  settings: { scrIN: 20, scrOUT: 10 },
  selectedMenu: 0,
  menus: [
    { MX: 20, MY: 30, MW: 150, MTCH: 22, MTM: BODY100, FL: 0, MA: 0, OO: 0 },
    { MX: 300, MY: 30, MW: 120, MTCH: 22, MTM: WIDE100, FL: 0, MA: 0, OO: 1 },
    { MX: 600, MY: 30, MW: 150, MTCH: 22, MTM: BODY100, FL: 0, MA: 1, OO: 0 },
  ],
};

const TALL = '<div style="height:4000px;width:10px"></div>';
const FLOATING = {
  menus: [
    { MX: 20, MY: 40, FL: 1 },
    { MX: 300, MY: 40, FL: 0 },
  ],
};

const CLIPPED = {
  settings: { scrOUT: 200 },
  menus: [
    { MX: 20, MY: 10, MW: 100, MTCH: 20, MTM: '<div style="height:800px"></div>', OO: 0 },
    { MX: 20, MY: 300, MW: 100, MTCH: 20, MTM: '<div style="width:800px;height:20px"></div>', OO: 1 },
  ],
};

// A header read back from a damaged file can carry speeds that would never move a body.
const STILL = { menus: [{ MX: 20, MY: 10, MTCH: 22, MTM: '<div style="height:12px"></div>' }] };

const FAULTY = {
  menus: [
    { MX: 20, MY: 10, MTM: '<script>qlMissingOne()</script>' },
    { MX: 200, MY: 10, MTM: '<script>throw new Error("bad <b>markup</b>")</script>' },
  ],
};

const site = new Site();
const urls = {};

before(async () => {
  await site.start();
  urls.quirks = site.project('menus', MENUS);
  urls.standards = site.project('menus-doctype', MENUS, { page: template({ doctype: true }) });
  urls.floatQuirks = site.project('float', FLOATING, { page: template({ after: TALL }) });
  urls.floatStandards = site.project('float-doctype', FLOATING, { page: template({ doctype: true, after: TALL }) });
  urls.clipped = site.project('clip', CLIPPED);
  urls.still = site.project('still', STILL);
  site.editScript('still', ',scrIN=20,scrOUT=10,', ',scrIN=0,scrOUT=-5,');
  urls.empty = site.project('empty', { menus: [] }, { page: template({ recorder: true }) });
  urls.faulty = site.project('faulty', FAULTY, { page: template({ recorder: true }) });
});

after(() => site.stop());

eachEngine((page) => {
  for (const mode of ['quirks', 'standards']) {
    it(`builds closed menus with their own elements and stacking (${mode})`, async () => {
      await page.goto(urls[mode]);
      const info = await page.eval(() => {
        const out = [];
        for (let i = 0; i < numOfMenus; i++) {
          const o = document.getElementById('owner' + i);
          const c = document.getElementById('cap' + i);
          const m = document.getElementById('menu' + i);
          out.push({
            nested: c.parentNode === o && m.parentNode === o,
            classes: c.className + ' ' + m.className,
            z: [o, c, m].map((e) => getComputedStyle(e).zIndex).join(','),
            box: [o.getBoundingClientRect().left, o.getBoundingClientRect().top],
            cap: [c.offsetWidth, c.offsetHeight],
            state: { off: qlOffset(i), shown: qlShown(i) },
            extent: OO[i] != 0 ? m.offsetWidth : m.offsetHeight,
            ownerSize: OO[i] != 0 ? o.offsetWidth : o.offsetHeight,
            bodyAcross: OO[i] != 0 ? m.offsetHeight : m.offsetWidth,
          });
        }
        return out;
      });
      assert.equal(info.length, 3);
      for (const [i, m] of info.entries()) {
        const want = MENUS.menus[i];
        assert.ok(m.nested, `menu ${i} nests caption and body in its owner`);
        assert.equal(m.classes, 'clCap clMenu');
        assert.equal(m.z, '2,3,1');
        assert.deepEqual(m.box, [want.MX, want.MY]);
        assert.deepEqual(m.cap, want.OO ? [want.MTCH, want.MW] : [want.MW, want.MTCH]);
        assert.equal(m.extent, 100);
        assert.deepEqual(m.state, { off: want.MTCH - 100, shown: false }, `menu ${i} parked under its caption`);
        assert.equal(m.ownerSize, want.MTCH, `menu ${i} owner cut to the caption`);
        assert.equal(m.bodyAcross, want.MW, `menu ${i} body is as wide (or high) as the menu`);
      }
    });

    it(`hover menus stay open between caption and body and close on leaving (${mode})`, async () => {
      await page.goto(urls[mode]);
      for (const i of [0, 1]) {
        const cap = await page.eval(boxOf, 'cap' + i);
        await page.move(cap.x + cap.w / 2, cap.y + cap.h / 2, 3);
        await waitFor(page, isOpen, [i], { what: `menu ${i} open` });
        // Into the body, which now lies below (horizontal) or right of (vertical) the caption.
        const body = await page.eval(boxOf, 'menu' + i);
        await page.move(body.x + body.w / 2, body.y + body.h / 2, 4);
        await sleep(250);
        assert.ok(await page.eval(isOpen, i), `menu ${i} stays open over its body`);
        await page.move(cap.x + cap.w / 2, cap.y + cap.h / 2, 4);
        await sleep(150);
        assert.ok(await page.eval(isOpen, i), `menu ${i} stays open back on its caption`);
        await page.move(cap.x + cap.w / 2, 600, 4);
        await waitFor(page, isClosed, [i], { what: `menu ${i} closed` });
        const owner = await page.eval((k) => {
          const o = document.getElementById('owner' + k);
          return OO[k] != 0 ? o.offsetWidth : o.offsetHeight;
        }, i);
        assert.equal(owner, 22, 'owner cut back to the caption');
      }
    });
  }

  it('click menus toggle with each press on the caption', async () => {
    await page.goto(urls.quirks);
    const cap = await page.eval(boxOf, 'cap2');
    await page.move(cap.x + 20, cap.y + 10);
    await page.down();
    await page.up();
    await waitFor(page, isOpen, [2], { what: 'click menu open' });
    // Leaving does not close a click menu.
    await page.move(cap.x + 20, 600, 3);
    await sleep(200);
    assert.ok(await page.eval(isOpen, 2));
    await page.move(cap.x + 20, cap.y + 10, 3);
    await page.down();
    await page.up();
    await waitFor(page, isClosed, [2], { what: 'click menu closed again' });
  });

  it('opens a 100 px body in 10 steps and closes it in 5, hiding it one step later', async () => {
    await page.goto(urls.quirks);
    const steps = await page.eval(async () => {
      const log = [];
      const real = Qloom.scrollMe;
      Qloom.scrollMe = function (i, tar, step) {
        real(i, tar, step);
        const m = document.getElementById('menu' + i);
        log.push({ off: parseInt(m.style.top, 10), vis: m.style.visibility, t: performance.now() });
      };
      const settle = () => new Promise((r) => setTimeout(r, 900));
      Qloom.mOpen(0);
      await settle();
      const opening = log.splice(0);
      Qloom.mClose(0);
      await settle();
      return { opening, closing: log };
    });
    const offs = (list) => list.map((s) => s.off);
    assert.deepEqual(offs(steps.opening), [-68, -58, -48, -38, -28, -18, -8, 2, 12, 22, 22]);
    assert.deepEqual(offs(steps.closing), [2, -18, -38, -58, -78, -78]);
    assert.deepEqual(steps.closing.map((s) => s.vis), ['visible', 'visible', 'visible', 'visible', 'visible', 'hidden']);
    for (const list of [steps.opening, steps.closing]) {
      for (let k = 1; k < list.length; k++) {
        assert.ok(list[k].t - list[k - 1].t >= 40, `steps are 50 ms apart (got ${list[k].t - list[k - 1].t})`);
      }
    }
  });

  it('speeds below one pixel still open and close a menu, one pixel per step', async () => {
    await page.goto(urls.still);
    await page.eval(() => Qloom.mOpen(0));
    await sleep(120);
    const early = await page.eval(() => qlOffset(0));
    assert.ok(early > 22 - 12 && early < 22, `opening one pixel at a time (${early})`);
    await waitFor(page, isOpen, [0], { what: 'menu open' });
    await page.eval(() => Qloom.mClose(0));
    await waitFor(page, isClosed, [0], { what: 'menu closed' });
  });

  it('a request reverses a movement from where the body stands', async () => {
    await page.goto(urls.quirks);
    const seen = await page.eval(async () => {
      Qloom.mOpen(0);
      await new Promise((r) => setTimeout(r, 130));
      Qloom.mClose(0);
      const at = parseInt(document.getElementById('menu0').style.top, 10);
      await new Promise((r) => setTimeout(r, 600));
      const m = document.getElementById('menu0');
      return { at, end: parseInt(m.style.top, 10), vis: m.style.visibility };
    });
    assert.ok(seen.at > -78 && seen.at < 22, `closing started half way (${seen.at})`);
    assert.deepEqual({ end: seen.end, vis: seen.vis }, { end: -78, vis: 'hidden' });
  });

  for (const mode of ['floatQuirks', 'floatStandards']) {
    it(`a floating menu keeps its distance from the window top and opens there, a fixed one scrolls away (${mode})`, async () => {
      await page.goto(urls[mode]);
      await page.eval(() => window.scrollTo(0, 600));
      const tops = await waitFor(page, () => {
        const a = document.getElementById('owner0').getBoundingClientRect().top;
        const b = document.getElementById('owner1').getBoundingClientRect().top;
        return a === 40 ? [a, b] : null;
      }, [], { what: 'floating menu repositioned' });
      assert.deepEqual(tops, [40, 40 - 600]);
      // Where the page scrolls, the mouse-out test must still see the pointer inside the menu.
      const cap = await page.eval(boxOf, 'cap0');
      await page.move(cap.x + cap.w / 2, cap.y + cap.h / 2, 3);
      await waitFor(page, isOpen, [0], { what: 'floating menu open' });
      const body = await page.eval(boxOf, 'menu0');
      await page.move(body.x + body.w / 2, body.y + body.h / 2, 3);
      await sleep(250);
      assert.ok(await page.eval(isOpen, 0), 'stays open over its body on the scrolled page');
      await page.move(cap.x + cap.w / 2, 400, 3);
      await waitFor(page, isClosed, [0], { what: 'floating menu closed' });
    });
  }

  it('clips an open menu 500 px from its top or left edge', async () => {
    await page.goto(urls.clipped);
    await page.eval(() => { Qloom.mOpen(0); Qloom.mOpen(1); });
    await waitFor(page, () => qlIsOpen(0) && qlIsOpen(1), [], { timeout: 10000, what: 'both open' });
    const hits = await page.eval(() => {
      const inside = (x, y, i) => {
        const e = document.elementFromPoint(x, y);
        return !!e && document.getElementById('menu' + i).contains(e);
      };
      return [inside(60, 10 + 490, 0), inside(60, 10 + 510, 0), inside(20 + 490, 310, 1), inside(20 + 510, 310, 1)];
    });
    assert.deepEqual(hits, [true, false, true, false]);
  });

  it('writes nothing for a project without menus', async () => {
    await page.goto(urls.empty);
    const r = await page.eval(() => ({
      elements: document.querySelectorAll('[id^=owner],[id^=cap],[id^=menu]').length,
      divs: document.getElementsByTagName('div').length,
      errors: window.qlErrors,
      titles: window.qlTitles,
    }));
    assert.deepEqual(r, { elements: 0, divs: 0, errors: [], titles: [] });
  });

  it('collects script errors and lists them all in one error window', async () => {
    await page.goto(urls.faulty);
    await waitFor(page, () => window.qlErrors.length >= 2, [], { what: 'both errors raised' });
    const r = await waitFor(page, async () => {
      await new Promise((res) => setTimeout(res, 50));
      // Same name: the page's error window, where the browser allowed it to open.
      const w = window.open('', 'win2');
      const text = w && w.document && w.document.body ? w.document.body.innerHTML : '';
      if (w && !/Reload Page/.test(text)) return null;
      return { errs, text, opened: !!w };
    }, [], { what: 'error window' });
    const lines = r.errs.split('<BR>').filter(Boolean);
    assert.equal(lines.length, 2);
    // Where an error in written markup comes from differs between engines (page, script or none).
    assert.match(lines[0], /qlMissingOne.* - .* - \d+$/);
    // The message is shown as text, not as markup.
    assert.match(lines[1], /bad &lt;b&gt;markup&lt;\/b&gt;/);
    if (r.opened) {
      assert.match(r.text, /<b>Error!<\/b>/);
      assert.match(r.text, /HTML code which you entered inside a menu or caption is illegal\./);
      assert.match(r.text, /value="Reload Page"/);
      assert.ok(r.text.includes(lines[0]) && r.text.includes(lines[1]), 'window lists both errors');
    }
  });
});
