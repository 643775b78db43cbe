// Times the page's whole-folder export in Chromium beside the console tool's `--all` on the
// same folders, in one run: the median of RUNS exports each, and their ratio. Then the size of
// the page's files, each compressed as a web server sends them (gzip).
//
//   node bench/web_bench.js RUNS FOLDER...     (scripts/bench runs it on its archives)
'use strict';

const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const {execFileSync} = require('node:child_process');
const {startSite, openPage, TIME_ZONE, REPO} = require('../tests/web/support/browser.js');
const person = require('../tests/web/support/person.js');

const CONSOLE = process.env.VESSORY_EXPORT || path.join(REPO, 'build/vessory-export');
const PAGE = process.env.VESSORY_WEB_DIR || path.join(REPO, 'build-web/vessory-web');

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

function consoleSeconds(folder, runs) {
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'vessory-web-bench-'));
  const times = [];
  for (let i = 0; i < runs; i++) {
    fs.rmSync(out, {recursive: true, force: true});
    const start = process.hrtime.bigint();
    execFileSync(
        CONSOLE, ['-q', '--all', folder, '-o', out, '--time-zone', TIME_ZONE], {stdio: 'ignore'});
    times.push(Number(process.hrtime.bigint() - start) / 1e9);
  }
  fs.rmSync(out, {recursive: true, force: true});
  return median(times);
}

// From pressing Export to the summary and the links shown (the zip of the files included).
async function pageSeconds(site, folder, runs) {
  const {page, context} = await openPage(site);
  await person.chooseFolder(page, folder);
  const times = [];
  for (let i = 0; i < runs; i++) {
    const start = Date.now();
    await person.exportAll(page);
    times.push((Date.now() - start) / 1000);
  }
  await context.close();
  return median(times);
}

function pageSize() {
  let raw = 0;
  let gzipped = 0;
  for (const name of fs.readdirSync(PAGE)) {
    const bytes = fs.readFileSync(path.join(PAGE, name));
    raw += bytes.length;
    gzipped += zlib.gzipSync(bytes, {level: 9}).length;
  }
  return {raw, gzipped};
}

async function main() {
  const [runsText, ...folders] = process.argv.slice(2);
  const runs = Number(runsText) || 3;
  const site = await startSite();
  try {
    for (const folder of folders) {
      const native = consoleSeconds(folder, runs);
      const browser = await pageSeconds(site, folder, runs);
      const ratio = (browser / native).toFixed(2);
      console.log(`web: ${path.basename(folder)}: console --all ${
          native.toFixed(3)} s, page in Chromium ${browser.toFixed(3)} s, ${ratio}x`);
    }
  } finally {
    await site.close();
  }
  const {raw, gzipped} = pageSize();
  console.log(`web: the page's files: ${(raw / 1048576).toFixed(2)} MiB, ${
      (gzipped / 1048576).toFixed(2)} MiB compressed (gzip)`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
