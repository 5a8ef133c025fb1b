'use strict';
// Test pages: each project is written by the project's own writer and saver (`qloom-cli write`,
// found through QLOOM_CLI), then served from 127.0.0.1.
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const http = require('node:http');
const { execFileSync } = require('node:child_process');

const HEAD_LINE = '<SCRIPT LANGUAGE="JavaScript" SRC="Qloomscript.js"></SCRIPT>';
const BODY_LINE = '<SCRIPT LANGUAGE="JavaScript">makeQloom()</SCRIPT>';

// Runs before the script in the head: records every title assignment (the browser only reports
// changes) and every script error, also those the page's own handler swallows.
const RECORDER = `<SCRIPT>
window.qlTitles = [];
window.qlErrors = [];
(function () {
  var d = Object.getOwnPropertyDescriptor(Document.prototype, 'title');
  Object.defineProperty(document, 'title', {
    configurable: true,
    get: function () { return d.get.call(document); },
    set: function (v) { window.qlTitles.push(String(v)); d.set.call(document, v); }
  });
  window.addEventListener('error', function (e) { window.qlErrors.push(String(e.message)); });
})();
</SCRIPT>`;

// A template page of the user's own: optional DOCTYPE, recorder and content after the menus.
function template({ doctype = false, recorder = false, after = '' } = {}) {
  return [
    doctype ? '<!DOCTYPE html>' : '',
    '<HTML>',
    '<HEAD>',
    recorder ? RECORDER : '',
    HEAD_LINE,
    '</HEAD>',
    '<BODY leftmargin=0 topmargin=0>',
    BODY_LINE,
    after,
    '</BODY>',
    '</HTML>',
    '',
  ].join('\r\n');
}

function writerCommand() {
  const cli = process.env.QLOOM_CLI;
  if (!cli) throw new Error('QLOOM_CLI is not set: run the suite through ctest, or point it at qloom-cli');
  return cli;
}

class Site {
  constructor() {
    this.root = fs.mkdtempSync(path.join(os.tmpdir(), 'qloom-pages-'));
    this.server = null;
    this.base = '';
  }

  // Writes project `name` (preview or final variant); a `page` text becomes the template page
  // before the save, so the writer keeps it; `small` ({ breakpoint, place, caption }) sets the
  // small-screen settings. Returns the page's URL.
  project(name, project, { preview = false, page = null, small = null } = {}) {
    const folder = path.join(this.root, name);
    fs.mkdirSync(folder, { recursive: true });
    const tmpl = (project.settings && project.settings.template) || 'Temp.html';
    if (page !== null) fs.writeFileSync(path.join(folder, tmpl), page);
    if (small) {
      const { breakpoint = -1, place = 0, caption = 'Menu' } = small;
      project = { ...project, settings: { ...project.settings, smallScreenBreakpoint: breakpoint, smallScreenPlace: place, smallScreenCaption: caption } };
    }
    const args = ['write', folder];
    if (preview) args.push('--preview');
    execFileSync(writerCommand(), args, { input: JSON.stringify(project), stdio: ['pipe', 'inherit', 'inherit'] });
    return `${this.base}/${name}/${tmpl}`;
  }

  // Replaces one text in a written script: for headers that only an older or damaged project
  // carries, which the writer itself never produces.
  editScript(name, from, to) {
    const file = path.join(this.root, name, 'Qloomscript.js');
    const text = fs.readFileSync(file, 'latin1');
    if (!text.includes(from)) throw new Error(`"${from}" is not in the script of ${name}`);
    fs.writeFileSync(file, text.replace(from, to), 'latin1');
  }

  scriptText(name) {
    return fs.readFileSync(path.join(this.root, name, 'Qloomscript.js'), 'latin1');
  }

  async start() {
    const types = { '.html': 'text/html', '.htm': 'text/html', '.js': 'application/javascript' };
    this.server = http.createServer((req, res) => {
      const rel = decodeURIComponent(new URL(req.url, 'http://x').pathname);
      const file = path.join(this.root, path.normalize(rel));
      if (!file.startsWith(this.root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
        res.writeHead(404);
        res.end();
        return;
      }
      res.writeHead(200, {
        'Content-Type': types[path.extname(file)] || 'application/octet-stream',
        'Cache-Control': 'no-store',
      });
      res.end(fs.readFileSync(file));
    });
    await new Promise((resolve) => this.server.listen(0, '127.0.0.1', resolve));
    this.base = `http://127.0.0.1:${this.server.address().port}`;
  }

  async stop() {
    if (this.server) {
      const closed = new Promise((resolve) => this.server.close(resolve));
      this.server.closeAllConnections();
      await closed;
    }
    fs.rmSync(this.root, { recursive: true, force: true });
  }
}

// A one-pixel GIF, for captions that hold a picture.
const PIXEL = 'data:image/gif;base64,R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAABAAEAAAIBRAA7';

module.exports = { Site, template, PIXEL };
