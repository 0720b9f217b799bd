// The browser module against orvane-cli: the shared vectors' check as JSON
// and as text, a saved project built by steps, and a batch.
//   node node_module.mjs ORVANE_JS ORVANE_CLI DATA_DIR VECTORS_DIR
import { execFileSync } from 'node:child_process';
import { createRequire } from 'node:module';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';

const [moduleJs, cliPath, dataDir, vectorsDir] = process.argv.slice(2);
const createOrvane = createRequire(import.meta.url)(path.resolve(moduleJs));
const cli = (...args) => execFileSync(cliPath, args, { encoding: 'utf8', stdio: ['ignore', 'pipe', 'ignore'] })
const cliTolerant = (...args) => {
  try { return cli(...args); } catch (e) { return e.stdout; }  // exit 1 and 3 are results
};
let failures = 0, lastBit = 0;
const fail = (what) => { failures++; console.log('FAIL ' + what); };

// Same structure; strings, booleans and null equal; numbers to 1e-15 relative.
function same(a, b, where) {
  if (typeof a === 'number' && typeof b === 'number') {
    if (a === b) return true;
    if (Math.abs(a - b) <= 1e-15 * Math.max(Math.abs(a), Math.abs(b))) { lastBit++; return true; }
    fail(`${where}: ${a} != ${b}`);
    return false;
  }
  if (Array.isArray(a) || (a && typeof a === 'object')) {
    const ka = Object.keys(a), kb = Object.keys(b ?? {});
    if (ka.join() !== kb.join()) return fail(`${where}: keys ${ka} != ${kb}`), false;
    return ka.every((k) => same(a[k], b[k], `${where}.${k}`));
  }
  if (a !== b) return fail(`${where}: ${JSON.stringify(a)} != ${JSON.stringify(b)}`), false;
  return true;
}

const t0 = performance.now();
const Orvane = await createOrvane();
const loadMs = performance.now() - t0;

const cases = path.join(vectorsDir, 'cases');
const names = fs.readdirSync(cases).filter((f) => f.endsWith('.cys')).sort();
for (const name of names) {
  // each in a program of its own, as orvane-cli opens it: an opening keeps
  // what the project before it left of the derived values (as the window's)
  const fresh = new Orvane.Calculator();
  const file = path.join(cases, name);
  const opened = JSON.parse(fresh.open(new Uint8Array(fs.readFileSync(file)), file));
  if (!opened.ok) { fail(`${name}: ${opened.error}`); continue; }
  same(JSON.parse(fresh.checkJson()), JSON.parse(cliTolerant('check', file, '--json', '--data', dataDir)), name);
  const text = cliTolerant('check', file, '--data', dataDir);
  if (fresh.checkText() !== text) fail(`${name}: text differs`);
  // the sheet, but for its time and the folder of the data files
  if (name <= 'v003.cys') {
    const plain = (html) => html.replace(/\d{4}-\d\d-\d\d \d\d:\d\d UTC/, 'DATE')
      .replaceAll(dataDir + '/', '');
    const sheet = path.join(os.tmpdir(), `orvane-web-${process.pid}.html`);
    cliTolerant('sheet', file, '-o', sheet, '--data', dataDir);
    if (plain(fresh.sheetHtml()) !== plain(fs.readFileSync(sheet, 'utf8'))) fail(`${name}: sheet differs`);
    fs.rmSync(sheet);
  }
  fresh.delete();
}

// A project built by steps, saved, equals `orvane-cli new -o F --set ...`.
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'orvane-web-'));
const sets = [['cyltype=2', 'r=2500', 't=22', 'sigx=120'], ['wsd=0', 'ring_ch=1', 'pd=0.4'], []];
for (const list of sets) {
  const fresh = new Orvane.Calculator();
  for (const s of list) {
    const r = JSON.parse(fresh.set(s));
    if (!r.ok) fail(`set ${s}: ${r.error}`);
  }
  const out = path.join(tmp, 'new.cys');
  cli('new', '-o', out, '--data', dataDir, ...list.flatMap((s) => ['--set', s]));
  if (!Buffer.from(fresh.save()).equals(fs.readFileSync(out))) fail(`save after ${list}`);
  fresh.delete();
}

// A batch of one table equals `orvane-cli batch --json`.
const table = 'case;sigx;tau\nA;50;10\nB;120,5;30\nC;-40;0\nD;abc;1\n';
const project = path.join(tmp, 'p.cys');
const loads = path.join(tmp, 'loads.csv');
cli('new', '-o', project, '--data', dataDir);
fs.writeFileSync(loads, table);
const forBatch = new Orvane.Calculator();
if (forBatch.batch(table) !== cliTolerant('batch', project, loads, '--json', '--data', dataDir))
  fail('batch differs');
forBatch.delete();

// Timings: a calculator's start-up, one step with its run, 100,000 rows.
const t3 = performance.now();
const calc = new Orvane.Calculator();
const startMs = performance.now() - t3;
const t1 = performance.now();
calc.set('sigx=121');
const stepMs = performance.now() - t1;
const rows = ['sigx;tau'];
for (let i = 0; i < 100000; i++) rows.push(`${(i % 300) - 100};${i % 50}`);
const t2 = performance.now();
const big = calc.batch(rows.join('\n') + '\n');
const batchMs = performance.now() - t2;
if (big.split('\n').filter(Boolean).length !== 100001) fail('100,000-row batch: ' + big.slice(0, 200));
calc.delete();
fs.rmSync(tmp, { recursive: true });

console.log(`${names.length} vectors; numbers equal only to 1e-15: ${lastBit}`);
console.log(`load ${loadMs.toFixed(0)} ms, start-up ${startMs.toFixed(1)} ms, one step with its run ${stepMs.toFixed(2)} ms, ` +
            `100,000 rows ${batchMs.toFixed(0)} ms`);
console.log(failures ? `${failures} failures` : 'all passed');
process.exit(failures ? 1 : 0);
