'use strict';
// Opens a finished project's template page in headless Chromium and hovers each menu caption:
// every body must slide out. Prints one JSON line: {"ok":bool, "menus":[...], "errors":[...]}.
// Usage: node hover.js <page.html>; puppeteer-core is taken from tests/page/node_modules.
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { pathToFileURL } = require('node:url');

const puppeteer = require(path.join(__dirname, '..', 'page', 'node_modules', 'puppeteer-core'));
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
const DEAD = 'http://127.0.0.1:9/';

async function main() {
  const pagePath = process.argv[2];
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'qloom-e2e-'));
  const browser = await puppeteer.launch({
    executablePath: process.env.QLOOM_CHROMIUM || '/usr/lib/chromium/chromium',
    headless: true,
    userDataDir: profile,
    defaultViewport: { width: 1000, height: 700 },
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--component-updater=url-source=${DEAD}`, '--disable-features=NetworkTimeServiceQuerying'],
  });
  const result = { ok: true, menus: [], errors: [] };
  try {
    const page = await browser.newPage();
    page.on('pageerror', (e) => result.errors.push(String(e)));
    await page.evaluateOnNewDocument(() => {
      window.addEventListener('error', (e) => {
        (window.__qlErrors = window.__qlErrors || []).push(String(e.message));
      });
    });
    await page.mouse.move(990, 690);
    await page.goto(pathToFileURL(pagePath).href, { waitUntil: 'load' });
    const count = await page.evaluate(() => (typeof numOfMenus === 'number' ? numOfMenus : -1));
    result.count = count;
    if (count < 1)
      result.ok = false;
    for (let i = 0; i < count; i++) {
      const probe = (k) => {
        const body = document.getElementById('menu' + k);
        const cap = document.getElementById('cap' + k).getBoundingClientRect();
        return {
          visible: getComputedStyle(body).visibility === 'visible',
          offset: parseInt(OO[k] != 0 ? body.style.left : body.style.top, 10),
          mtch: MTCH[k],
          cap: { x: cap.left + cap.width / 2, y: cap.top + cap.height / 2 },
          caption: document.getElementById('cap' + k).innerText,
        };
      };
      const before = await page.evaluate(probe, i);
      await page.mouse.move(before.cap.x, before.cap.y, { steps: 3 });
      let after = before;
      for (let t = 0; t < 60 && !(after.visible && after.offset === after.mtch); t++) {
        await sleep(50);
        after = await page.evaluate(probe, i);
      }
      const opened = !before.visible && after.visible && after.offset === after.mtch;
      result.menus.push({ index: i, caption: after.caption, closedBefore: !before.visible, opened });
      if (!opened)
        result.ok = false;
      // Away from every menu, and wait for it to close again.
      await page.mouse.move(990, 690, { steps: 3 });
      await sleep(600);
    }
    const pageErrors = await page.evaluate(() => window.__qlErrors || []);
    result.errors.push(...pageErrors);
    if (result.errors.length)
      result.ok = false;
  } finally {
    await browser.close().catch(() => {});
    fs.rmSync(profile, { recursive: true, force: true });
  }
  console.log(JSON.stringify(result));
}

main().catch((e) => {
  console.log(JSON.stringify({ ok: false, errors: [String(e && e.stack || e)] }));
  process.exit(1);
});
