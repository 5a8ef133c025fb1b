'use strict';
// How long makeQloom() takes to build 1000 menus in headless Chromium, against the time the same
// browser takes for the same markup written as static HTML; measured side by side in one run,
// alternating the two pages. Also reports the runtime's size, as written into a script (where it
// must stay within 6 KB gzip -9) and in source.
//   QLOOM_CLI=build/src/cli/qloom-cli node bench/page/bench.js [runs]
// Needs the drivers of tests/page (npm ci there). Results also go to bench/results/page.json.
const fs = require('node:fs');
const path = require('node:path');
const zlib = require('node:zlib');

const root = path.resolve(__dirname, '..', '..');
const { launch } = require(path.join(root, 'tests/page/lib/engines'));
const { Site } = require(path.join(root, 'tests/page/lib/pages'));

const MENUS = 1000;
const RUNS = Number(process.argv[2] || 9);

function project() {
  const menus = [];
  for (let i = 0; i < MENUS; i++) {
    menus.push({
      MX: (i % 10) * 160,
      MY: Math.floor(i / 10) * 30,
      MTC: `Menu ${i}`,
      MTM: `<a href="#a${i}">First link</a><br>\n<a href="#b${i}">Second link</a><br>\n<b>Some text</b>`,
      OO: i % 4 === 3 ? 1 : 0,
      MA: i % 5 === 4 ? 1 : 0,
      FL: i % 2,
    });
  }
  return { menus };
}

const HEAD_LINE = '<SCRIPT LANGUAGE="JavaScript" SRC="Qloomscript.js"></SCRIPT>';
// The timed span ends after a forced layout, so both pages pay for style and layout.
const STOP = '<SCRIPT>document.body.offsetHeight; window.qlTime = performance.now() - window.qlT0;</SCRIPT>';

const built = `<HTML><HEAD>${HEAD_LINE}</HEAD><BODY leftmargin=0 topmargin=0>
<SCRIPT>window.qlT0 = performance.now(); makeQloom();</SCRIPT>${STOP}</BODY></HTML>`;

function median(xs) {
  const s = [...xs].sort((a, b) => a - b);
  return s[Math.floor(s.length / 2)];
}

(async () => {
  const site = new Site();
  await site.start();
  const page = await launch('chromium');
  try {
    // Desktop layout (small-screen mode off) and the small-screen list (Auto: 1000 menus reach
    // far past the 1000 px window), each against its own static twin.
    const modes = {};
    for (const [mode, small] of [['desktop', { breakpoint: 0 }], ['smallScreen', { breakpoint: -1 }]]) {
      const urlBuilt = site.project(mode, project(), { page: built, small });
      // The static twin: the style rules and the elements exactly as the runtime left them.
      await page.goto(urlBuilt);
      const snapshot = await page.eval(() => {
        const css = [...document.styleSheets].map((s) => [...s.cssRules].map((r) => r.cssText).join('\n')).join('\n');
        const markup = [...document.body.children].filter((e) => e.tagName === 'DIV').map((e) => e.outerHTML).join('');
        return { css, markup };
      });
      const staticPage = `<HTML><HEAD><STYLE>${snapshot.css}</STYLE></HEAD><BODY leftmargin=0 topmargin=0>
<SCRIPT>window.qlT0 = performance.now();</SCRIPT>${snapshot.markup}${STOP}</BODY></HTML>`;
      fs.writeFileSync(path.join(site.root, mode, 'Static.html'), staticPage);
      const urlStatic = urlBuilt.replace(/Temp\.html$/, 'Static.html');

      const times = { built: [], static: [] };
      for (let r = 0; r < RUNS; r++) {
        for (const [name, url] of [['built', urlBuilt], ['static', urlStatic]]) {
          await page.goto(url);
          times[name].push(await page.eval(() => window.qlTime));
        }
      }
      modes[mode] = {
        makeQloomMs: Number(median(times.built).toFixed(2)),
        staticHtmlMs: Number(median(times.static).toFixed(2)),
        ratio: Number((median(times.built) / median(times.static)).toFixed(2)),
        samples: times,
      };
    }
    const count = await page.eval(() => document.querySelectorAll('[id^=owner]').length);
    const runtime = fs.readFileSync(path.join(root, 'src/script/runtime/runtime.js'));
    const editing = fs.readFileSync(path.join(root, 'src/script/runtime/editing.js'));
    // What a visitor downloads: the texts as the writer puts them after the header (the build
    // strips whole-line comments, the saver writes CR LF).
    site.project('sizes', { menus: [] }, { preview: true });
    const script = Buffer.from(site.scriptText('sizes'), 'latin1');
    const at = (text) => script.indexOf(text);
    const shippedRuntime = script.subarray(at('var Qloom = Qloom'), at('/* IDE! */'));
    const shippedEditing = script.subarray(at('/* IDE! */'));
    const gz = (b) => zlib.gzipSync(b, { level: 9 }).length;
    const result = {
      menus: MENUS,
      runs: RUNS,
      staticMenusCheck: count,
      ...modes.desktop,
      smallScreen: { ...modes.smallScreen, samples: undefined },
      limit: 1.3,
      runtimeSourceBytes: runtime.length,
      runtimeSourceGzipBytes: gz(runtime),
      runtimeBytes: shippedRuntime.length,
      runtimeGzipBytes: gz(shippedRuntime),
      runtimeGzipLimit: 6144,
      editingSourceBytes: editing.length,
      editingSourceGzipBytes: gz(editing),
      editingBytes: shippedEditing.length,
      editingGzipBytes: gz(shippedEditing),
    };
    fs.mkdirSync(path.join(root, 'bench/results'), { recursive: true });
    fs.writeFileSync(path.join(root, 'bench/results/page.json'), JSON.stringify(result, null, 2));
    console.log(JSON.stringify({ ...result, samples: undefined }, null, 2));
    process.exitCode = result.ratio <= result.limit && result.smallScreen.ratio <= result.limit &&
      result.runtimeGzipBytes <= result.runtimeGzipLimit ? 0 : 1;
  } finally {
    await page.close();
    await site.stop();
  }
})();
