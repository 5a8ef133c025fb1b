'use strict';
// The preview page (editing layer present): selection frame, dragging and the title commands
// that carry selections, moves and script errors to the editor.
const { it, before, after } = require('node:test');
const assert = require('node:assert/strict');
const { eachEngine, waitFor, sleep } = require('./lib/engines');
const { Site, template, PIXEL } = require('./lib/pages');

const PROJECT = {
  selectedMenu: 1,
  menus: [
    // A picture in the caption: pressing on it must not start the browser's own drag.
    { MX: 40, MY: 60, MW: 150, MTCH: 22, MTC: `<img src="${PIXEL}" width="60" height="16"> Drag`, MTM: '<div style="height:100px"></div>' },
    { MX: 300, MY: 60, MW: 120, MTCH: 22, OO: 1, MTM: '<div style="width:100px;height:10px"></div>' },
    { MX: 500, MY: 60, MW: 150, MTCH: 22, MA: 1, MTM: '<div style="height:100px"></div>' },
  ],
};

const FAULTY = {
  menus: [
    { MX: 20, MY: 10, MTM: '<script>qlBoom()</script>' },
    { MX: 200, MY: 10, MTM: '<script>qlBoom()</script>' },
  ],
};

// A template whose title follows the script in the head and whose menus stand in a positioned
// wrapper 50 px right and 40 px down of the page origin.
const WRAPPED_PAGE = [
  '<HTML><HEAD>',
  '<SCRIPT LANGUAGE="JavaScript" SRC="Qloomscript.js"></SCRIPT>',
  '<TITLE>Wrapped</TITLE>',
  '</HEAD><BODY leftmargin=0 topmargin=0>',
  '<div style="position:relative; left:50px; top:40px">',
  '<SCRIPT LANGUAGE="JavaScript">makeQloom()</SCRIPT>',
  '</div></BODY></HTML>',
].join('\r\n');

const PREFIX = '!qLoomIDE:';
const commands = (titles) => titles.filter((t) => t.startsWith(PREFIX)).map((t) => t.slice(PREFIX.length));

function frame() {
  const box = (id) => {
    const e = document.getElementById(id);
    const r = e.getBoundingClientRect();
    return { x: r.left, y: r.top, w: r.width, h: r.height, shown: getComputedStyle(e).visibility === 'visible' };
  };
  return { top: box('SEL_TOP'), left: box('SEL_LEFT'), right: box('SEL_RIGHT'), bottom: box('SEL_BOTTOM') };
}

// The frame that ySetSel draws around a menu standing at (x, y) whose box is w x h.
function assertFrame(f, x, y, w, h) {
  for (const side of ['top', 'left', 'right', 'bottom']) assert.ok(f[side].shown, `${side} edge shown`);
  assert.deepEqual([f.top.x, f.top.y, f.top.w, f.top.h], [x - 3, y - 3, w + 4 + 2, 2]);
  assert.deepEqual([f.bottom.x, f.bottom.y, f.bottom.w, f.bottom.h], [x - 3, y - 3 + h + 4, w + 4 + 2, 2]);
  assert.deepEqual([f.left.x, f.left.y, f.left.w, f.left.h], [x - 3, y - 3, 2, h + 4]);
  assert.deepEqual([f.right.x, f.right.y, f.right.w, f.right.h], [x - 3 + w + 4, y - 3, 2, h + 4]);
}

// What the page shows and has said while nothing is selected: frame edges, menus, titles, errors.
function quiet() {
  const edges = ['SEL_TOP', 'SEL_LEFT', 'SEL_RIGHT', 'SEL_BOTTOM'];
  return {
    frame: edges.map((id) => getComputedStyle(document.getElementById(id)).visibility),
    closed: Array.from({ length: numOfMenus }, (_, i) => qlIsClosed(i)),
    owners: document.querySelectorAll('[id^=owner]').length,
    titles: qlTitles,
    errors: qlErrors,
  };
}
const HIDDEN = ['hidden', 'hidden', 'hidden', 'hidden'];

const site = new Site();
const urls = {};

before(async () => {
  await site.start();
  urls.quirks = site.project('preview', PROJECT, { preview: true, page: template({ recorder: true }) });
  urls.standards = site.project('preview-doctype', PROJECT, {
    preview: true,
    page: template({ doctype: true, recorder: true }),
  });
  urls.faulty = site.project('preview-faulty', FAULTY, { preview: true, page: template({ recorder: true }) });
  // No row selected in the editor's list: the header names no menu.
  urls.unselected = site.project('preview-unselected', PROJECT, { preview: true, page: template({ recorder: true }) });
  site.editScript('preview-unselected', ',iSelectedMenu=1,', ',iSelectedMenu=-1,');
  urls.wrapped = site.project('preview-wrapped', PROJECT, { preview: true, page: WRAPPED_PAGE });
  urls.empty = site.project('preview-empty', { menus: [] }, { preview: true, page: template({ recorder: true }) });
});

after(() => site.stop());

eachEngine((page) => {
  it('opens and frames the selected menu on load, and the editor moves the frame silently', async () => {
    await page.goto(urls.quirks);
    await waitFor(page, () => qlIsOpen(1), [], { what: 'selected menu open' });
    // Vertical menu 1: as wide as caption plus body, as high as the menu.
    assertFrame(await page.eval(frame), 300, 60, 22 + 100, 120);
    await page.eval(() => Qloom.ySetSel(2, 0));
    assertFrame(await page.eval(frame), 500, 60, 150, 22 + 100);
    const r = await page.eval(() => ({ sel: iSelectedMenu, titles: qlTitles, errors: qlErrors }));
    assert.deepEqual(r, { sel: 2, titles: [], errors: [] });
  });

  for (const mode of ['quirks', 'standards']) {
    it(`drags a menu by its caption and reports selection and place (${mode})`, async () => {
      await page.goto(urls[mode]);
      const cap = await page.eval(() => qlBox('cap0'));
      const start = { x: cap.x + 15, y: cap.y + 8 };
      await page.move(start.x, start.y);
      await page.down();
      assert.deepEqual(commands(await page.eval(() => qlTitles)), ['ySetSel(0)']);
      await page.move(start.x + 30, start.y + 20, 3);
      await sleep(40);
      await page.move(start.x + 60, start.y + 45, 3);
      await sleep(40);
      const during = await page.eval(() => ({ owner: qlBox('owner0'), frame: getComputedStyle(document.getElementById('SEL_TOP')).visibility === 'visible' ? 1 : 0 }));
      assert.deepEqual([during.owner.x, during.owner.y, during.frame], [100, 105, 0]);
      await page.up();
      const titles = await page.eval(() => qlTitles);
      assert.deepEqual(commands(titles), ['ySetSel(0)', 'ySetSel(0)', 'docMouseMove(0,100,105)']);
      const after = await page.eval(() => ({ sel: iSelectedMenu, errors: qlErrors, menu: qlExtent(0) }));
      assert.deepEqual([after.sel, after.errors], [0, []]);
      assertFrame(await page.eval(frame), 100, 105, 150, 22 + after.menu);
    });
  }

  it('a click menu toggles in the preview too, and any release reports the selected menu', async () => {
    await page.goto(urls.quirks);
    const cap = await page.eval(() => qlBox('cap2'));
    await page.move(cap.x + 20, cap.y + 10);
    await page.down();
    await page.up();
    await waitFor(page, () => qlIsOpen(2), [], { what: 'click menu open' });
    await page.move(800, 500, 2);
    await page.down();
    await page.up();
    const titles = await page.eval(() => qlTitles);
    assert.deepEqual(commands(titles), [
      'ySetSel(2)', 'ySetSel(2)', 'docMouseMove(2,500,60)',
      'ySetSel(2)', 'docMouseMove(2,500,60)',
    ]);
    assert.ok(await page.eval(() => qlIsOpen(2)), 'a release elsewhere leaves the menu open');
  });

  it('sends each script error to the editor as an ERROR command', async () => {
    await page.goto(urls.faulty);
    const titles = await waitFor(page, () => (qlTitles.filter((t) => /ERROR/.test(t)).length >= 2 ? qlTitles : null), [], {
      what: 'two ERROR titles',
    });
    const errors = commands(titles);
    assert.equal(errors.length, 2);
    for (const e of errors) assert.match(e, /^ERROR\(.*qlBoom.*@.*@\d+\)$/);
  });

  it('a menu index outside the table selects, opens and reports nothing', async () => {
    await page.goto(urls.unselected);
    const want = { frame: HIDDEN, closed: [true, true, true], owners: 3, titles: [], errors: [] };
    assert.deepEqual(await page.eval(quiet), want, 'nothing selected after loading');
    // Calls the editor or a stale event handler may make with a row that is not there.
    await page.eval(() => {
      Qloom.ySetSel(3, 0);
      Qloom.ySetSel(-1, 0);
      Qloom.mOpen(3);
      Qloom.mClose(-1);
      Qloom.mScroll(7);
      Qloom.yMoveMenu(3, 10, 10);
    });
    await page.move(800, 500);
    await page.down();
    await page.up();
    await sleep(100);
    assert.deepEqual(await page.eval(quiet), want, 'nothing selected, moved or sent afterwards');
    // The editor's next selection works as usual.
    await page.eval(() => Qloom.ySetSel(2, 0));
    assertFrame(await page.eval(frame), 500, 60, 150, 22 + 100);
    await page.down();
    await page.up();
    assert.deepEqual(commands(await page.eval(() => qlTitles)), ['ySetSel(2)', 'docMouseMove(2,500,60)']);
  });

  it('frames a menu inside a positioned wrapper and leaves the page head as the template has it', async () => {
    await page.goto(urls.wrapped);
    await waitFor(page, () => qlIsOpen(1), [], { what: 'selected menu open' });
    assertFrame(await page.eval(frame), 50 + 300, 40 + 60, 22 + 100, 120);
    await page.eval(() => Qloom.ySetSel(0, 0));
    assertFrame(await page.eval(frame), 50 + 40, 40 + 60, 150, 22 + 100);
    const head = await page.eval(() => ({
      title: document.title,
      inHead: !!document.querySelector('head > title'),
      headDivs: document.head.getElementsByTagName('div').length,
      frameParent: document.getElementById('SEL_TOP').parentNode === document.body,
    }));
    assert.deepEqual(head, { title: 'Wrapped', inHead: true, headDivs: 0, frameParent: true });
  });

  it('a project without menus neither frames nor opens anything in the preview', async () => {
    await page.goto(urls.empty);
    await page.move(100, 100);
    await page.down();
    await page.up();
    assert.deepEqual(await page.eval(quiet), { frame: HIDDEN, closed: [], owners: 0, titles: [], errors: [] });
  });
});
