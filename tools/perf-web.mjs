// The web build's speed and size beside a yardstick built by the same toolchain: web/bare_canvas.c,
// which redraws the board's pixels each browser frame. Both are played in headless Chromium in turns
// (medians of PAIRS runs); CPU is the time the page's main thread spends on its tasks, from the
// DevTools protocol, over the same seconds. The game plays with 101 balls, got by resting the
// pointer on plain balls, then with the pointer off the board.
//     node tools/perf-web.mjs SITE BARE_SITE [PAGE]
// With PAGE, the table replaces what stands between the page's two marks.
import { readFile, stat, writeFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import { extname, join } from 'node:path';
import { gzipSync } from 'node:zlib';
import { chromium } from '../tests/web/node_modules/playwright-core/index.mjs';

const [site, bare, page] = process.argv.slice(2);
const PAIRS = Number(process.env.PAIRS ?? 3), SECONDS = 6;
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

function serve(folder) {
  const server = createServer(async (request, response) => {
    const path = join(folder, new URL(request.url, 'http://host').pathname.replace(/\/$/, '/index.html'));
    try {
      const body = await readFile(path);
      response.writeHead(200, { 'Content-Type': types[extname(path)] ?? 'application/octet-stream' }).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () =>
    resolve({ server, address: `http://127.0.0.1:${server.address().port}/` })));
}

// Milliseconds from navigation to the first frame with anything lit on the canvas.
function watchFirstFrame() {
  const look = () => {
    const canvas = document.querySelector('canvas');
    if (canvas && canvas.width > 0) {
      const data = canvas.getContext('2d', { willReadFrequently: true })?.getImageData(0, 0, canvas.width, canvas.height).data;
      if (data && data.some((value, i) => i % 4 !== 3 && value > 40)) {
        window.firstFrameMs = performance.now();
        return;
      }
    }
    requestAnimationFrame(look);
  };
  requestAnimationFrame(look);
}

async function taskSeconds(cdp) {
  const { metrics } = await cdp.send('Performance.getMetrics');
  return metrics.find((metric) => metric.name === 'TaskDuration').value;
}

// A plain ball on the board, read from the canvas, and how many pixels of the hundreds digit of
// BALLS are lit.
const look = (page) => page.evaluate(() => {
  const context = document.querySelector('canvas').getContext('2d', { willReadFrequently: true });
  const board = context.getImageData(12, 74, 384, 384).data;
  let plain = null;
  for (let i = 0; i < board.length && !plain; i += 4 * 5) {
    if (board[i + 2] > 150 && board[i + 1] > 100 && board[i] < 80) {
      plain = { x: 12 + (i / 4) % 384, y: 74 + Math.floor(i / 4 / 384) };
    }
  }
  const digit = context.getImageData(500, 196, 20, 28).data;
  return { plain, hundreds: digit.filter((value, i) => i % 4 === 2 && value > 128 && digit[i - 1] < 64).length };
});

// Starts a game and rests the pointer on plain balls, each tick on one adding a ball, until the
// hundreds digit of BALLS changes from the 0 it starts with; then takes the pointer off the board.
async function playWith101(page, box) {
  const at = (x, y) => [box.x + x * box.scale, box.y + y * box.scale];
  await page.mouse.click(...at(523, 286));
  await page.waitForTimeout(500);
  const zero = (await look(page)).hundreds;
  for (let until = Date.now() + 15000; Date.now() < until;) {
    const { plain, hundreds } = await look(page);
    if (hundreds !== zero) break;
    if (plain) await page.mouse.move(...at(plain.x + 4, plain.y + 6));
  }
  await page.mouse.move(...at(200, 30));
}

async function measure(browser, address, game) {
  const context = await browser.newContext();
  if (game) await context.addInitScript(watchFirstFrame);
  const tab = await context.newPage();
  const cdp = await context.newCDPSession(tab);
  await cdp.send('Performance.enable');
  await tab.goto(address);
  let firstFrameMs;
  if (game) {
    await tab.waitForFunction(() => window.firstFrameMs !== undefined, null, { timeout: 20000 });
    firstFrameMs = await tab.evaluate(() => window.firstFrameMs);
    const canvas = await tab.locator('canvas').boundingBox();
    await playWith101(tab, { ...canvas, scale: canvas.width / 654 });
  } else {
    await tab.waitForTimeout(1000);
  }
  const before = await taskSeconds(cdp);
  await tab.waitForTimeout(SECONDS * 1000);
  const cpu = (await taskSeconds(cdp) - before) / SECONDS;
  await context.close();
  return { cpu, firstFrameMs };
}

const sites = [await serve(site), await serve(bare)];
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'],
});
const runs = { game: [], bare: [] };
for (let pair = 0; pair < PAIRS; ++pair) {
  runs.game.push(await measure(browser, sites[0].address, true));
  runs.bare.push(await measure(browser, sites[1].address, false));
}
await browser.close();
sites.forEach(({ server }) => server.close());

const wasm = await readFile(join(site, 'quibbix.wasm'));
const cpu = { game: median(runs.game.map((run) => run.cpu)), bare: median(runs.bare.map((run) => run.cpu)) };
const first = median(runs.game.map((run) => run.firstFrameMs));
const kb = (bytes) => `${Math.round(bytes / 1024)} KiB`;
const table = [
  `Measured ${new Date().toISOString().slice(0, 10)} in headless Chromium, medians of ${PAIRS} runs taken in turns`,
  '',
  '| figure | the game | yardstick | ratio | target |',
  '|---|---|---|---|---|',
  `| main-thread CPU, ${SECONDS} s of play with 100+ balls, against the bare canvas redrawing the board | ${(cpu.game * 100).toFixed(1)} % | ${(cpu.bare * 100).toFixed(1)} % | ${(cpu.game / cpu.bare).toFixed(2)} | ≤ 1.5 |`,
  `| first frame after navigation | ${Math.round(first)} ms | | | ≤ 1000 ms |`,
  `| quibbix.wasm | ${kb(wasm.length)} (gzip ${kb(gzipSync(wasm, { level: 9 }).length)}) | | | ≤ 1.5 MB or 450 KB gzip |`,
].join('\n');
console.log(table);
if (page) {
  const text = await readFile(page, 'utf8');
  await writeFile(page, text.replace(/(<!-- perf-web writes what follows, up to the end mark -->\n)[^]*?(<!-- end -->)/, `$1\n${table}\n\n$2`));
}
