// The browser side of the page's tests: serves the page's folder with `scripts/web --serve` on
// 127.0.0.1, starts Debian's Chromium through playwright-core, and opens the page the way a
// person does, counting every request it makes. One server and one browser per test file;
// a fresh page (and context) per test.
'use strict';

const {spawn} = require('node:child_process');
const net = require('node:net');
const path = require('node:path');
const {chromium} = require('playwright-core');

const REPO = path.resolve(__dirname, '../../..');
const CHROMIUM = process.env.VESSORY_CHROMIUM || '/usr/bin/chromium';
// Without the background-networking flags Chromium calls home on this machine's closed network.
const FLAGS = [
  '--no-sandbox',
  '--disable-gpu',
  '--disable-quic',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
];
const TIME_ZONE = 'Europe/Berlin';

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.listen(0, '127.0.0.1', () => {
      const {port} = server.address();
      server.close(() => resolve(port));
    });
    server.on('error', reject);
  });
}

async function waitForPort(port, child) {
  for (let i = 0; i < 200; i++) {
    if (child.exitCode !== null) throw new Error(`scripts/web --serve ended (${child.exitCode})`);
    const open = await new Promise((resolve) => {
      const socket = net.connect(port, '127.0.0.1', () => resolve(socket.end() || true));
      socket.on('error', () => resolve(false));
    });
    if (open) return;
    await new Promise((r) => setTimeout(r, 100));
  }
  throw new Error(`nothing answers on 127.0.0.1:${port}`);
}

// Serves the built page and starts the browser; `close()` ends both.
async function startSite() {
  const port = await freePort();
  const server = spawn(path.join(REPO, 'scripts/web'), ['--serve', String(port)], {
    cwd: REPO,
    env: {...process.env, VESSORY_WEB_KEEP: '1'},
    stdio: 'ignore',
  });
  await waitForPort(port, server);
  const browser = await chromium.launch({executablePath: CHROMIUM, args: FLAGS});
  return {
    url: `http://127.0.0.1:${port}/`,
    browser,
    async close() {
      await browser.close();
      server.kill('SIGTERM');
    },
  };
}

// A page with the core loaded; `requests` lists every request made, `afterLoad` those made
// after the core was ready (blob: links are the page's own memory, not the network).
async function openPage(site, {width = 1100, height = 900} = {}) {
  const context = await site.browser.newContext({
    acceptDownloads: true,
    timezoneId: TIME_ZONE,
    locale: 'en-US',
    viewport: {width, height},
  });
  const page = await context.newPage();
  const requests = [];
  const errors = [];
  let loaded = false;
  const afterLoad = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  page.on('console', (m) => m.type() === 'error' && errors.push(m.text()));
  const record = (request) => {
    if (/^(blob|data):/.test(request.url())) return;
    requests.push(request.url());
    if (loaded) afterLoad.push(request.url());
  };
  context.on('request', record);
  await page.goto(site.url);
  await page.waitForSelector('body[data-core=ready]', {timeout: 60000});
  loaded = true;
  return {page, context, requests, afterLoad, errors};
}

module.exports = {
  startSite,
  openPage,
  TIME_ZONE,
  REPO
};
