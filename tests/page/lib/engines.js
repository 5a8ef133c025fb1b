'use strict';
// One small driving interface over the three installed engines: Chromium and Firefox through
// puppeteer-core, WebKit through its WebDriver and selenium. Every browser gets a fresh profile
// and its network services pointed at a dead local port; nothing is downloaded.
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const net = require('node:net');
const { spawn } = require('node:child_process');
const { describe, before, after } = require('node:test');

const { installSource } = require('./probes');

const DEAD = 'http://127.0.0.1:9/';
const VIEW = { width: 1000, height: 700 };

function tempProfile(name) {
  return fs.mkdtempSync(path.join(os.tmpdir(), `qloom-${name}-`));
}

function freePort() {
  return new Promise((resolve, reject) => {
    const srv = net.createServer();
    srv.once('error', reject);
    srv.listen(0, '127.0.0.1', () => {
      const { port } = srv.address();
      srv.close(() => resolve(port));
    });
  });
}

const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Functions travel as source text so both drivers run the same code in the page.
function asScript(fn) {
  return `return (${fn.toString()}).apply(null, arguments);`;
}

class PuppeteerPage {
  constructor(browser, page, profile) {
    this.browser = browser;
    this.page = page;
    this.profile = profile;
  }
  async goto(url) {
    // Firefox fires mouse-over on whatever lies under the pointer after a load.
    const v = this.viewport || VIEW;
    await this.page.mouse.move(v.width - 10, v.height - 40);
    await this.page.goto(url, { waitUntil: 'load' });
    await this.page.evaluate(installSource);
  }
  eval(fn, ...args) {
    return this.page.evaluate(fn, ...args);
  }
  async move(x, y, steps = 1) {
    await this.page.mouse.move(Math.round(x), Math.round(y), { steps });
  }
  down() {
    return this.page.mouse.down();
  }
  up() {
    return this.page.mouse.up();
  }
  // Keys by their DOM names ('Tab', 'Enter', ' ', 'Escape').
  press(key) {
    return this.page.keyboard.press(key);
  }
  rightDown() {
    return this.page.mouse.down({ button: 'right' });
  }
  rightUp() {
    return this.page.mouse.up({ button: 'right' });
  }
  tap(x, y) {
    return this.page.touchscreen.tap(Math.round(x), Math.round(y));
  }
  // Firefox delivers focus events only to a page whose document never lost focus: keyboard
  // cases each start on a page of their own.
  async renew() {
    const fresh = await this.browser.newPage();
    await fresh.setViewport(this.viewport || VIEW);
    if (this.still) await fresh.emulateMediaFeatures([{ name: 'prefers-reduced-motion', value: 'reduce' }]);
    const old = this.page;
    this.page = fresh;
    await old.close().catch(() => {});
  }
  // A window of width x height CSS px: scale is the device pixel ratio (a desktop browser zoomed
  // to 200% lays out half as many CSS px at ratio 2), mobile a phone's viewport with touch input.
  async resize(width, height, { scale = 1, mobile = false } = {}) {
    this.viewport = mobile ? { width, height, deviceScaleFactor: scale, hasTouch: true, isMobile: true }
      : { width, height, deviceScaleFactor: scale };
    await this.page.setViewport(this.viewport);
    // Chromium reloads the page when touch emulation changes.
    await this.page.evaluate(installSource).catch(() => {});
  }
  // A one-finger swipe: the browser scrolls and makes no click of it.
  async swipe(x, y, dx, dy) {
    const t = this.page.touchscreen;
    await t.touchStart(Math.round(x), Math.round(y));
    for (let k = 1; k <= 8; k++) {
      await t.touchMove(Math.round(x + (dx * k) / 8), Math.round(y + (dy * k) / 8));
      await sleep(16);
    }
    await t.touchEnd();
  }
  onPageError(fn) {
    this.page.on('pageerror', (e) => fn(String(e && e.message ? e.message : e)));
  }
  async close() {
    await this.browser.close().catch(() => {});
    fs.rmSync(this.profile, { recursive: true, force: true });
  }
}

async function launchChromium({ touch = false, still = false } = {}) {
  const puppeteer = require('puppeteer-core');
  const profile = tempProfile('chromium');
  const browser = await puppeteer.launch({
    executablePath: process.env.QLOOM_CHROMIUM || '/usr/lib/chromium/chromium',
    headless: true,
    userDataDir: profile,
    defaultViewport: VIEW,
    args: [
      '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync',
      `--component-updater=url-source=${DEAD}`, '--disable-features=NetworkTimeServiceQuerying',
    ],
  });
  const page = (await browser.pages())[0] || (await browser.newPage());
  const p = new PuppeteerPage(browser, page, profile);
  p.viewport = touch ? { ...VIEW, hasTouch: true } : VIEW;
  p.still = still;
  await page.setViewport(p.viewport);
  if (still) await page.emulateMediaFeatures([{ name: 'prefers-reduced-motion', value: 'reduce' }]);
  return p;
}

// Touch input and reduced motion are switched on for the whole browser.
async function launchFirefox({ touch = false, still = false } = {}) {
  const puppeteer = require('puppeteer-core');
  const profile = tempProfile('firefox');
  process.env.MOZ_REMOTE_SETTINGS_DEVTOOLS = '1';
  const browser = await puppeteer.launch({
    browser: 'firefox',
    executablePath: process.env.QLOOM_FIREFOX || '/usr/bin/firefox-esr',
    headless: true,
    userDataDir: profile,
    defaultViewport: VIEW,
    extraPrefsFirefox: {
      'services.settings.server': DEAD,
      'app.update.url': DEAD,
      'browser.safebrowsing.downloads.remote.url': DEAD,
      'browser.safebrowsing.provider.mozilla.updateURL': DEAD,
      'network.connectivity-service.enabled': false,
      'network.captive-portal-service.enabled': false,
      'extensions.getAddons.cache.enabled': false,
      'datareporting.healthreport.uploadEnabled': false,
      'toolkit.telemetry.enabled': false,
      ...(touch ? {
        'dom.w3c_touch_events.enabled': 1,
        'dom.w3c_touch_events.legacy_apis.enabled': true,
        'dom.maxtouchpoints.testing.value': 5,
        'ui.primaryPointerCapabilities': 1,
        'ui.allPointerCapabilities': 1,
      } : {}),
      ...(still ? { 'ui.prefersReducedMotion': 1 } : {}),
    },
  });
  const page = (await browser.pages())[0] || (await browser.newPage());
  await page.setViewport(VIEW);
  const p = new PuppeteerPage(browser, page, profile);
  p.viewport = VIEW;
  return p;
}

class SeleniumPage {
  constructor(driver, server) {
    this.driver = driver;
    this.server = server;
    this.x = 0;
    this.y = 0;
  }
  async goto(url) {
    if (!this.frame) {
      await this.driver.get(url);
    } else {
      // Narrower than the browser's smallest window: the page runs in a frame of that size at
      // the window's top left, so its viewport, media queries and pointer coordinates are those
      // of a window that narrow.
      await this.driver.switchTo().defaultContent();
      await this.driver.get('about:blank');
      await this.driver.executeAsyncScript(`var done = arguments[arguments.length - 1];
        document.documentElement.style.margin = document.body.style.margin = '0';
        var f = document.createElement('iframe');
        f.style.cssText = 'border:0;display:block;width:${this.frame.width}px;height:${this.frame.height}px';
        f.onload = function () { done(); };
        f.src = ${JSON.stringify(url)};
        document.body.appendChild(f);`);
      await this.driver.switchTo().frame(0);
    }
    await this.driver.executeScript(installSource);
  }
  eval(fn, ...args) {
    return this.driver.executeScript(asScript(fn), ...args);
  }
  async move(x, y, steps = 1) {
    const actions = this.driver.actions({ async: true });
    await actions.clear();
    for (let i = 1; i <= steps; i++) {
      const px = Math.round(this.x + ((x - this.x) * i) / steps);
      const py = Math.round(this.y + ((y - this.y) * i) / steps);
      actions.move({ x: px, y: py, origin: 'viewport', duration: 0 });
    }
    await actions.perform();
    this.x = Math.round(x);
    this.y = Math.round(y);
  }
  async down() {
    await this.driver.actions({ async: true }).press().perform();
  }
  async up() {
    await this.driver.actions({ async: true }).release().perform();
  }
  async press(key) {
    const { Key } = require('selenium-webdriver');
    const named = { Tab: Key.TAB, Enter: Key.ENTER, Escape: Key.ESCAPE };
    await this.driver.actions({ async: true }).sendKeys(named[key] || key).perform();
  }
  async rightDown() {
    const { Button } = require('selenium-webdriver/lib/input');
    await this.driver.actions({ async: true }).press(Button.RIGHT).perform();
  }
  async rightUp() {
    const { Button } = require('selenium-webdriver/lib/input');
    await this.driver.actions({ async: true }).release(Button.RIGHT).perform();
  }
  async renew() {}
  // The window is sized so that its page area is width CSS px wide (the driver's window has no
  // side frame, but a smallest width); WebKit's driver offers no device scale or touch.
  async resize(width, height) {
    const outer = Math.max(width, 500);
    this.frame = null;
    await this.driver.switchTo().defaultContent();
    await this.driver.manage().window().setRect({ width: outer, height: height + 38 });
    await waitFor(this, (w) => window.innerWidth === w, [outer], { what: `a ${outer} px wide window` });
    if (outer !== width) this.frame = { width, height };
  }
  async close() {
    await this.driver.quit().catch(() => {});
    this.server.kill();
  }
}

async function launchWebKit() {
  const { Builder } = require('selenium-webdriver');
  const port = await freePort();
  const server = spawn(process.env.QLOOM_WEBKITDRIVER || '/usr/bin/WebKitWebDriver', [`--port=${port}`], {
    stdio: 'ignore',
  });
  try {
    for (let i = 0; i < 100; i++) {
      const up = await new Promise((resolve) => {
        const s = net.connect(port, '127.0.0.1', () => { s.end(); resolve(true); });
        s.on('error', () => resolve(false));
      });
      if (up) break;
      await sleep(100);
    }
    const caps = {
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': {
        binary: process.env.QLOOM_MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser',
        args: ['--automation'],
      },
    };
    // Without a display the session never comes up: give up instead of hanging.
    let timer;
    const driver = await Promise.race([
      new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities(caps).build(),
      new Promise((resolve, reject) => {
        timer = setTimeout(() => reject(new Error('WebKit session did not start (is there a display?)')), 30000);
      }),
    ]).finally(() => clearTimeout(timer));
    await driver.manage().setTimeouts({ script: 10000, pageLoad: 20000 });
    return new SeleniumPage(driver, server);
  } catch (e) {
    server.kill();
    throw e;
  }
}

const ENGINES = { chromium: launchChromium, firefox: launchFirefox, webkit: launchWebKit };

// QLOOM_PAGE_ENGINES narrows the run, e.g. "chromium" while working on one engine.
function selectedEngines() {
  const wanted = (process.env.QLOOM_PAGE_ENGINES || 'chromium,firefox,webkit').split(',').map((s) => s.trim());
  return wanted.filter((n) => ENGINES[n]);
}

// options: touch (touch input where the engine offers it), still (reduced motion).
function launch(name, options) {
  return ENGINES[name](options);
}

// One describe block per selected engine (of `engines`, where given: for input an engine's driver
// cannot make), titled by title(engine), with a browser launched
// before its cases and closed after them. body(page, engine) declares the cases; page stands in
// for the browser that exists only once the block runs.
function eachEngine(body, { title = (engine) => engine, options, engines = null } = {}) {
  for (const engine of selectedEngines().filter((e) => !engines || engines.includes(e))) {
    describe(title(engine), () => {
      let current = null;
      before(async () => {
        current = await launch(engine, options);
      });
      after(() => current && current.close());
      const page = new Proxy({}, {
        get(_, key) {
          const value = current[key];
          return typeof value === 'function' ? value.bind(current) : value;
        },
      });
      body(page, engine);
    });
  }
}

// Polls fn in the page until it returns a truthy value; returns that value.
async function waitFor(page, fn, args = [], { timeout = 5000, what = 'condition' } = {}) {
  const end = Date.now() + timeout;
  let last;
  for (;;) {
    last = await page.eval(fn, ...args);
    if (last) return last;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what} (last: ${JSON.stringify(last)})`);
    await sleep(25);
  }
}

module.exports = { launch, eachEngine, waitFor, sleep, VIEW };
