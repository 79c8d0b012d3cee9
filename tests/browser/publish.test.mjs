// The site of "velkmod-cli publish" over the demo repository, in Debian's
// chromium driven headless: every page loads cleanly, a click on a task shows
// its performer, a cluster opens its level, the search finds a task of a
// cluster level, and the site is usable by keyboard and on a phone.
// Run by run.sh (VELKMOD_CLI, VELK_ARTIFACTS); a screenshot of a workflow page
// is left in VELK_ARTIFACTS.

import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { chromium } from 'playwright-core';

const cli = process.env.VELKMOD_CLI;
const artifacts = process.env.VELK_ARTIFACTS || os.tmpdir();
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'velk-browser-'));
const site = path.join(work, 'site');
let browser;

function run(...args) {
  return execFileSync(cli, args, {
    env: { ...process.env, VELK_DATA_DIR: path.join(work, 'data'),
           VELK_SETTINGS: path.join(work, 'velkmod.conf'), QT_QPA_PLATFORM: 'offscreen' },
    encoding: 'utf8',
  });
}

// The page of the workflow whose index entry starts with `name`.
function pageOf(name) {
  const file = fs.readdirSync(site).filter((f) => f.startsWith('wf-'))
    .find((f) => fs.readFileSync(path.join(site, f), 'utf8').includes(`<h1>${name}`));
  assert.ok(file, `no page for ${name}`);
  return pathToFileURL(path.join(site, file)).href;
}

// A page that records what went wrong while it loaded and ran.
async function open(url, viewport = { width: 1280, height: 900 }) {
  const page = await browser.newPage();
  await page.setViewportSize(viewport);
  page.problems = [];
  page.on('console', (m) => { if (m.type() === 'error') page.problems.push(`console: ${m.text()}`); });
  page.on('pageerror', (e) => page.problems.push(`script: ${e.message}`));
  page.on('requestfailed', (r) => page.problems.push(`failed: ${r.url()}`));
  page.on('response', (r) => { if (r.status() >= 400) page.problems.push(`${r.status()}: ${r.url()}`); });
  await page.goto(url);
  return page;
}

before(async () => {
  run('demo', '--dir', path.join(work, 'data'));
  run('publish', site);
  browser = await chromium.launchPersistentContext(path.join(work, 'profile'), {
    executablePath: '/usr/bin/chromium',
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
           '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
});

after(async () => {
  await browser?.close();
  fs.rmSync(work, { recursive: true, force: true });
});

// The site's files over HTTP, as any web server would give them.
function serve() {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.png': 'image/png' };
  const server = http.createServer((request, response) => {
    const file = path.join(site, decodeURIComponent(new URL(request.url, 'http://x').pathname));
    if (!file.startsWith(site) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

test('every page of the site loads without errors or failed requests, from disk and from a server', async () => {
  const pages = fs.readdirSync(site).filter((f) => f.endsWith('.html'));
  assert.ok(pages.length >= 6, `only ${pages}`);
  const server = await serve();
  const bases = [pathToFileURL(site).href + '/', `http://127.0.0.1:${server.address().port}/`];
  try {
    for (const base of bases) {
      for (const file of pages) {
        const page = await open(base + file);
        await page.waitForLoadState('load');
        assert.deepEqual(page.problems, [], base + file);
        await page.close();
      }
    }
  } finally {
    server.close();
  }
});

test('a click on a task in the drawing shows its performer', async () => {
  const page = await open(pageOf('Order Handling v2'));
  await page.locator('.level.current .node[aria-label^="Approve large order"]').click();
  const details = page.locator('.detail.current');
  await details.waitFor();
  assert.match(await details.innerText(), /Performer\s+Person: Karin Lange\/Management\/Marvelund/);
  await page.close();
});

test('a cluster in the drawing opens its level, and Up goes back', async () => {
  const page = await open(pageOf('Order Handling v2'));
  await page.locator('.level.current .node[aria-label^="Fulfilment"]').click();
  // The level changes with the address's fragment, after the click returns.
  await page.locator('#level-1').waitFor({ state: 'hidden' });
  const level = page.locator('section.level.current');
  assert.match(await level.locator('h2').innerText(), /subflow: Fulfilment$/);
  await level.getByRole('link', { name: /^Up to / }).click();
  await page.locator('#level-1').waitFor({ state: 'visible' });
  await page.close();
});

test('the search finds a task of a cluster level and opens it there', async () => {
  const page = await open(pathToFileURL(path.join(site, 'index.html')).href);
  await page.locator('#search').fill('pack parcel');
  const hit = page.locator('#search-results a').first();
  assert.match(await hit.innerText(), /Pack parcel[\s\S]*subflow: Packing/);
  await hit.click();
  await page.locator('.detail.current').waitFor();
  assert.match(await page.locator('section.level.current h2').innerText(), /subflow: Packing$/);
  assert.match(await page.locator('.detail.current').innerText(), /Role: Dispatcher/);
  assert.deepEqual(page.problems, []);
  await page.screenshot({ path: path.join(artifacts, 'publish-workflow-page.png'), fullPage: true });
  await page.close();
});

test('the keyboard reaches a task and Enter shows its details', async () => {
  const page = await open(pageOf('Travel Request'));
  const task = page.locator('.level.current .node[aria-label^="Review"]');
  await task.focus();
  await page.keyboard.press('Enter');
  assert.match(await page.locator('.detail.current').innerText(), /Performer\s+Role: Approver/);
  await page.close();
});

test('on a phone the page fits its width and the drawing zooms', async () => {
  const page = await open(pageOf('Order Handling v2'), { width: 390, height: 844 });
  const overflow = await page.evaluate(() => document.documentElement.scrollWidth - innerWidth);
  assert.ok(overflow <= 0, `the page is ${overflow}px wider than the phone`);
  const svg = page.locator('.level.current svg');
  const before = Number(await svg.getAttribute('width'));
  await page.locator('.level.current [data-zoom="in"]').click();
  assert.ok(Number(await svg.getAttribute('width')) > before);
  await page.screenshot({ path: path.join(artifacts, 'publish-phone.png') });
  await page.close();
});
