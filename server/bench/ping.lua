-- Pings with valid sessions: each connection of wrk takes its own cookie.
local tokens = {}
for line in io.lines(os.getenv("KT_TOKENS")) do tokens[#tokens + 1] = line end
local counter = 0
function setup(thread)
  counter = counter + 1
  thread:set("offset", counter)
end
function init(args)
  wrk.method = "POST"
  wrk.headers["Content-Type"] = "application/x-www-form-urlencoded"
  wrk.body = '<ping login="bench"/>'
end
local n = 0
function request()
  n = n + 1
  local token = tokens[((offset * 7919 + n) % #tokens) + 1]
  wrk.headers["Cookie"] = "KTSESSION=" .. token
  return wrk.format(nil, "/ping.asp")
end
