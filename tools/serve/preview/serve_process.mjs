// scenario_tool serve and its other commands for the page's tests, run as
// their own processes. Reads
//   SCENARIO_TOOL         the scenario_tool executable
//   SCENARIO_TOOL_RUNNER  optional: a program that runs the tool (wine, for scenario_tool.exe)
import { spawn, execFileSync } from 'node:child_process';
import fs from 'node:fs';

const tool = process.env.SCENARIO_TOOL;

// Every server started, for the test's end to stop any left running.
export const servers = [];

// The tool's command line, through the runner when there is one.
export function toolCommand(args) {
  const runner = process.env.SCENARIO_TOOL_RUNNER;
  return runner ? [runner, [tool, ...args]] : [tool, args];
}

export function runTool(args) {
  const [command, all] = toolCommand(args);
  execFileSync(command, all);
}

// Starts serve on the port (0: any free one) with a private temporary folder;
// resolves with its URL.
export function serve(line, train, tmp, port = 0) {
  fs.mkdirSync(tmp, { recursive: true });
  const [command, args] = toolCommand(['serve', line, train, '--port', String(port)]);
  const child = spawn(command, args, {
    env: { ...process.env, TMPDIR: tmp }, stdio: ['ignore', 'pipe', 'pipe'],
  });
  servers.push(child);
  let err = '';
  child.stderr.on('data', (d) => { err += d; });
  return new Promise((resolve, reject) => {
    let out = '';
    const timer = setTimeout(() => reject(new Error('serve printed no address in 20 s: ' + err)), 20000);
    child.stdout.on('data', (d) => {
      out += d;
      const m = out.match(/^Preview at (http:\/\/127\.0\.0\.1:\d+\/)\n/);
      if (m) { clearTimeout(timer); resolve({ url: m[1], child }); }
    });
    child.on('exit', (code) => reject(new Error('serve ended with ' + code + ': ' + err)));
  });
}

export function stopped(child) {
  return new Promise((resolve) => {
    if (child.exitCode !== null) resolve(child.exitCode);
    else child.on('exit', (code) => resolve(code));
  });
}
