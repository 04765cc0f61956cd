// The server's real /scenario.json held to its type in scenario_types.js:
// scenario_tool serve runs on the built-in documents, clean, with an error
// and with a warning, and on documents that never compiled; TypeScript then
// checks each answer, written out as an object literal of that type, so that
// a field the type lacks, a field it wants that is missing and a value of
// another kind are all errors. Copies that drifted from a real answer must
// be refused, which shows the check can fail. Run by CTest with
//   SCENARIO_TOOL  the scenario_tool executable
import { test, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { runTool, serve, servers, stopped } from './serve_process.mjs';

assert.ok(process.env.SCENARIO_TOOL, 'SCENARIO_TOOL must be set');
const here = path.dirname(new URL(import.meta.url).pathname);
const tsc = path.join(here, 'node_modules', 'typescript', 'bin', 'tsc');
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'scenario-types-'));

after(() => {
  for (const s of servers) if (s.exitCode === null) s.kill('SIGKILL');
  fs.rmSync(work, { recursive: true, force: true });
});

async function scenarioOf(url) {
  const response = await fetch(url + 'scenario.json');
  assert.equal(response.status, 200);
  return response.json();
}

// The server's answers: first for the built-in documents as `first` makes
// them, then for each edit of them saved in turn, once the server has
// compiled it (its version passed the one before, with the finding the edit
// brings).
async function answersFor(name, edits, first = (text) => text) {
  const src = path.join(work, name);
  runTool(['write-documents', src]);
  const line = path.join(src, 'Bresta_Vilcar_linea.txt');
  const train = path.join(src, 'Bresta_Vilcar_RX907-.txt');
  const original = fs.readFileSync(line, 'latin1');
  fs.writeFileSync(line, Buffer.from(first(original), 'latin1'));
  const { url, child } = await serve(line, train, path.join(work, 'tmp-' + name));
  const answers = [await scenarioOf(url)];
  for (const edit of edits) {
    const before = answers[answers.length - 1].version;
    // Saved whole, as editors save: the server never reads it half-written.
    fs.writeFileSync(line + '.saving', Buffer.from(edit(original), 'latin1'));
    fs.renameSync(line + '.saving', line);
    let d = await scenarioOf(url);
    for (let i = 0; i < 200 && (d.version <= before || d.diagnostics.length === 0); i++) {
      await new Promise((resolve) => setTimeout(resolve, 50));
      d = await scenarioOf(url);
    }
    answers.push(d);
  }
  child.kill('SIGINT');
  assert.equal(await stopped(child), 0);
  return answers;
}

// TypeScript's errors for each file of values, by file name.
function typeErrors(files) {
  const dir = path.join(work, 'check');
  fs.mkdirSync(dir, { recursive: true });
  const types = path.join(here, 'scenario_types.js');
  for (const [name, value] of Object.entries(files)) {
    fs.writeFileSync(path.join(dir, name + '.js'), '// @ts-check\n' +
      `/** @type {import(${JSON.stringify(types)}).Scenario} */\n` +
      `export const scenario = ${JSON.stringify(value, null, 1)};\n`);
  }
  fs.writeFileSync(path.join(dir, 'tsconfig.json'), JSON.stringify({
    compilerOptions: { checkJs: true, allowJs: true, noEmit: true, strict: true, target: 'es2022',
      module: 'es2022', moduleResolution: 'bundler', types: [], lib: ['es2022'] },
    include: ['*.js'],
  }));
  let out = '';
  try {
    execFileSync(process.execPath, [tsc, '-p', '.', '--pretty', 'false'], { cwd: dir, encoding: 'utf8' });
  } catch (e) {
    out = e.stdout;
  }
  const errors = Object.fromEntries(Object.keys(files).map((name) => [name, []]));
  for (const l of out.split('\n')) {
    const m = l.match(/^(\w+)\.js\(/);
    if (m) errors[m[1]].push(l);
  }
  return errors;
}

test("serve's /scenario.json is of the page's type, and drift from it is refused", async () => {
  const taken = (text) => text.replace('cartello_indicatore,  11100,', 'cartello_indicatore,  15350,');
  const warned = (text) => text.replace('cartello_indicatore,  11100,', 'cartello_indicatore,  11110,');
  const [clean, withError, withWarning] = await answersFor('builtin', [taken, warned]);
  // Documents with an error from the start: nothing drawn yet, no profile, no plan.
  const [neverCompiled] = await answersFor('broken', [], taken);
  assert.equal(neverCompiled.profile, null);
  assert.equal(neverCompiled.run, null);
  assert.ok(clean.run && clean.run.samples.length > 0 && clean.montagna.length > 0, 'the built-in route has a run and montagna stretches');
  assert.equal(withError.stale, true);
  assert.ok(withError.diagnostics.some((d) => d.text !== undefined && d.position !== undefined), JSON.stringify(withError.diagnostics));
  assert.equal(withWarning.diagnostics[0].severity, 'warning');

  const real = { clean, withError, withWarning, neverCompiled };
  const diagnostic = withError.diagnostics[0];
  const { stale, ...noStale } = clean;
  const drifted = {
    extraField: { ...clean, drawn_at: 1 },
    missingField: noStale,
    stationRenamed: { ...clean, stations: clean.stations.map(({ name, ...s }) => ({ ...s, title: name })) },
    severityUnknown: { ...withError, diagnostics: [{ ...diagnostic, severity: 'note' }] },
    relatedWithoutLabel: { ...withError, diagnostics: [{ ...diagnostic, related: [{ file: diagnostic.file, line: 3 }] }] },
    profileAsText: { ...clean, profile: { ...clean.profile, cell_m: '50' } },
    runLateAsText: { ...clean, run: { ...clean.run, stations: clean.run.stations.map((s) => ({ ...s, late: String(s.late) })) } },
    runSampleWithoutSpeed: { ...clean, run: { ...clean.run, samples: clean.run.samples.map(([m, t]) => [m, t]) } },
    runRoleUnknown: { ...clean, run: { ...clean.run, stations: [{ ...clean.run.stations[0], role: 'halt' }] } },
  };
  const errors = typeErrors({ ...real, ...drifted });
  for (const name of Object.keys(real)) assert.deepEqual(errors[name], [], name);
  for (const name of Object.keys(drifted)) assert.ok(errors[name].length > 0, name + ' was not refused');
});
