// scenario_tool lsp driven by an independent client (vscode-languageserver-
// protocol) over its standard streams, on the built-in documents written by
// scenario_tool write-documents. Run by CTest with
//   SCENARIO_TOOL  the scenario_tool executable (under Wine: a script that runs the .exe)
import { test, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawn, execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import {
  createProtocolConnection, StreamMessageReader, StreamMessageWriter,
} from 'vscode-languageserver-protocol/node.js';

const tool = process.env.SCENARIO_TOOL;
assert.ok(tool, 'SCENARIO_TOOL must be set');

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'lsp-test-'));
after(() => fs.rmSync(work, { recursive: true, force: true }));

execFileSync(tool, ['write-documents', work]);
const linePath = path.join(work, 'Bresta_Vilcar_linea.txt');
const trainPath = path.join(work, 'Bresta_Vilcar_RX907-.txt');
const lineUri = pathToFileURL(linePath).href;
const trainUri = pathToFileURL(trainPath).href;
// The documents are Windows-1252; the protocol carries UTF-8.
const cp1252 = new TextDecoder('windows-1252');
const lineText = cp1252.decode(fs.readFileSync(linePath));
const trainText = cp1252.decode(fs.readFileSync(trainPath));

// Line and UTF-16 column of the first occurrence of `needle`.
function where(text, needle) {
  const at = text.indexOf(needle);
  assert.ok(at >= 0, needle);
  const before = text.slice(0, at).split(/\r\n|\r|\n/);
  return { line: before.length - 1, character: before[before.length - 1].length };
}

test('the server checks, explains, completes, outlines and fixes as the author types', async () => {
  const server = spawn(tool, ['lsp'], { stdio: ['pipe', 'pipe', 'pipe'] });
  let stderr = '';
  server.stderr.on('data', (d) => { stderr += d; });
  const exited = new Promise((resolve) => server.on('exit', (code) => resolve(code)));
  const connection = createProtocolConnection(
    new StreamMessageReader(server.stdout), new StreamMessageWriter(server.stdin));

  // Every publication, in order; waiters for the next one of a document at a version.
  const waiters = [];
  connection.onNotification('textDocument/publishDiagnostics', (params) => {
    for (let i = 0; i < waiters.length; i++) {
      const w = waiters[i];
      if (w.uri === params.uri && (w.version === undefined || params.version === w.version)) {
        waiters.splice(i, 1);
        w.resolve(params.diagnostics);
        return;
      }
    }
  });
  const published = (uri, version) => new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`no diagnostics for ${uri} v${version}: ${stderr}`)), 30000);
    waiters.push({ uri, version, resolve: (d) => { clearTimeout(timer); resolve(d); } });
  });
  connection.listen();

  const init = await connection.sendRequest('initialize', { processId: process.pid, rootUri: null, capabilities: {} });
  assert.equal(init.capabilities.textDocumentSync.change, 1);
  assert.equal(init.serverInfo.name, 'scenario_tool');
  connection.sendNotification('initialized', {});

  // The built-in documents: nothing to say.
  const lineClean = published(lineUri, 1);
  const trainClean = published(trainUri, 1);
  connection.sendNotification('textDocument/didOpen',
    { textDocument: { uri: lineUri, languageId: 'scenario', version: 1, text: lineText } });
  connection.sendNotification('textDocument/didOpen',
    { textDocument: { uri: trainUri, languageId: 'scenario', version: 1, text: trainText } });
  assert.deepEqual(await lineClean, []);
  assert.deepEqual(await trainClean, []);

  // A broken row: a letter in a signal's position is a read failure.
  let version = 1;
  const change = async (text) => {
    version += 1;
    const next = published(trainUri, version);
    connection.sendNotification('textDocument/didChange',
      { textDocument: { uri: trainUri, version }, contentChanges: [{ text }] });
    return next;
  };
  const brokenRow = 'segnale,    1550x,   1, 4, 1,  0, 0,    1,  3,1,0, 0';
  const broken = trainText.replace('segnale,    1550,   1, 4, 1,  0, 0,    1,  3,1,0, 0', brokenRow);
  let diagnostics = await change(broken);
  assert.equal(diagnostics.length, 1, JSON.stringify(diagnostics));
  // Marked on the field the reader stopped at, not on the row.
  const field = where(broken, '1550x');
  assert.equal(diagnostics[0].code, 25);
  assert.equal(diagnostics[0].severity, 1);
  assert.deepEqual(diagnostics[0].range,
    { start: field, end: { line: field.line, character: field.character + '1550x'.length } });
  const explained = await connection.sendRequest('textDocument/hover',
    { textDocument: { uri: trainUri }, position: { line: field.line, character: field.character + 2 } });
  assert.match(explained.contents.value, /error 25|## 25|25:/i);

  // Mended: the mark is gone.
  assert.deepEqual(await change(trainText), []);

  // Hover on a keyword and on a number.
  const signal = where(trainText, 'segnale,    1550');
  const keyword = await connection.sendRequest('textDocument/hover',
    { textDocument: { uri: trainUri }, position: { line: signal.line, character: signal.character + 1 } });
  assert.match(keyword.contents.value, /\*\*Signal\*\*/);
  const number = await connection.sendRequest('textDocument/hover',
    { textDocument: { uri: trainUri }, position: { line: signal.line, character: signal.character + 13 } });
  assert.match(number.contents.value, /cell 32, the cell of 1550 m/);

  // Completion at the start of a row of the line description's curves.
  const curve = where(lineText, 'curvad5');
  const completion = await connection.sendRequest('textDocument/completion',
    { textDocument: { uri: lineUri }, position: { line: curve.line, character: 0 } });
  const labels = completion.items.map((i) => i.label);
  for (const label of ['curvas6', 'curvad1', 'pendenza', '[montagne]']) assert.ok(labels.includes(label), label);
  assert.ok(!labels.includes('lunghezza percorso'));

  // The outline: sections with stations and signals in km.
  const symbols = await connection.sendRequest('textDocument/documentSymbol', { textDocument: { uri: trainUri } });
  const stations = symbols.find((s) => s.name === '[stazioni]');
  assert.equal(stations.children.length, 24);
  assert.equal(stations.children[1].name, 'P.C. VALSORDA km 3.400');

  // A speed off the 5 km/h step in a row after "À": its quick fix, applied, clears it.
  const offStep = trainText.replace('velocita,    6350,   110', 'À velocita,    6350,   112');
  diagnostics = await change(offStep);
  assert.equal(diagnostics.length, 1, JSON.stringify(diagnostics));
  const at = where(offStep, '112');
  assert.equal(diagnostics[0].code, 'W102');
  assert.deepEqual(diagnostics[0].range, { start: at, end: { line: at.line, character: at.character + 3 } });
  const actions = await connection.sendRequest('textDocument/codeAction', {
    textDocument: { uri: trainUri }, range: diagnostics[0].range, context: { diagnostics },
  });
  assert.equal(actions.length, 1);
  const applied = (text, edit) => {
    const lines = text.split('\r\n');
    const target = lines[edit.range.start.line];
    lines[edit.range.start.line] = target.slice(0, edit.range.start.character) + edit.newText +
      target.slice(edit.range.end.character);
    return lines.join('\r\n');
  };
  assert.deepEqual(await change(applied(offStep, actions[0].edit.changes[trainUri][0])), []);

  // A signal on the cell of the signal at 1550 m: moved to the nearest free cell, the error is gone.
  const taken = trainText.replace('segnale,    2700,', 'segnale,    1560,');
  diagnostics = await change(taken);
  assert.equal(diagnostics.length, 1, JSON.stringify(diagnostics));
  assert.equal(diagnostics[0].code, 16);
  const position = where(taken, '1560');
  assert.deepEqual(diagnostics[0].range,
    { start: position, end: { line: position.line, character: position.character + 4 } });
  // The signal whose cell it is, at its position field.
  const holder = where(taken, '1550');
  assert.deepEqual(diagnostics[0].relatedInformation, [{
    location: { uri: trainUri, range: { start: holder, end: { line: holder.line, character: holder.character + 4 } } },
    message: 'the cell of the signal at 1550 m',
  }]);
  const moves = await connection.sendRequest('textDocument/codeAction', {
    textDocument: { uri: trainUri }, range: diagnostics[0].range, context: { diagnostics },
  });
  assert.equal(moves.length, 1, JSON.stringify(moves));
  assert.equal(moves[0].edit.changes[trainUri][0].newText, '1600');
  assert.deepEqual(await change(applied(taken, moves[0].edit.changes[trainUri][0])), []);

  assert.equal(await connection.sendRequest('shutdown'), null);
  connection.sendNotification('exit');
  assert.equal(await exited, 0, stderr);
  connection.dispose();
});
