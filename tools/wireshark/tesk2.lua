-- SPDX-License-Identifier: MIT
-- The Tesk2 unit protocol on UDP port 2639, for Wireshark and tshark.
--
-- A command to a unit (to port 2639) is one frame:
--   F1 | 01 04 | unit ID digits | "@" | command text, CR | checksum | F2
-- The checksum covers 01 up to the CR: the plain sum of those bytes, written
-- as one byte when below 250, else FF and two bytes, else FE and three (most
-- significant first), so its first byte tells its length. Nothing is escaped.
-- A reply (from port 2639) is free text.
--
-- Use it with `tshark -X lua_script:tesk2.lua`, or copy it into a Lua plugin
-- folder that `tshark -G folders` lists.

local UNIT_PORT = 2639

local tesk2 = Proto("tesk2", "Tesk2 unit protocol")
local fields = {
    unit_id = ProtoField.string("tesk2.unit_id", "Unit ID"),
    command = ProtoField.string("tesk2.command", "Command"),
    checksum = ProtoField.uint32("tesk2.checksum", "Checksum", base.DEC),
    checksum_good = ProtoField.bool("tesk2.checksum_good", "Checksum good"),
    reply = ProtoField.string("tesk2.reply", "Reply"),
}
tesk2.fields = { fields.unit_id, fields.command, fields.checksum, fields.checksum_good, fields.reply }
-- What a unit makes of a datagram to its port: a damaged frame (the shape
-- of a frame, a rule inside it broken) it asks for again; anything else
-- that is not a frame it lets pass as stray traffic. Each item names the
-- rule in the words of the unit simulator's log.
local damaged = ProtoExpert.new("tesk2.damaged", "Damaged Tesk2 frame", expert.group.MALFORMED,
    expert.severity.ERROR)
local not_a_frame = ProtoExpert.new("tesk2.not_a_frame", "Not a Tesk2 frame", expert.group.PROTOCOL,
    expert.severity.NOTE)
tesk2.experts = { damaged, not_a_frame }

local SHORTEST_FRAME = 8 -- F1, 01 04, one ID digit, "@", a bare CR, a one-byte checksum, F2
local LONGEST_FRAME = 20 -- ID 127, "99999SE" and CR, the four-byte checksum field

-- The checksum field a sender writes for a sum.
local function checksum_field(sum)
    local function byte(value, shift) return math.floor(value / 2 ^ shift) % 256 end
    if sum < 250 then return string.char(sum) end
    if sum < 0x10000 then return string.char(0xFF, byte(sum, 8), byte(sum, 0)) end
    return string.char(0xFE, byte(sum, 16), byte(sum, 8), byte(sum, 0))
end

-- The sum a checksum field carries, whatever its length.
local function checksum_value(bytes)
    local value = 0
    for i = (#bytes == 1 and 1 or 2), #bytes do value = value * 256 + bytes:byte(i) end
    return value
end

local function is_digit(byte) return byte ~= nil and byte >= 0x30 and byte <= 0x39 end

local function dissect_command(buffer, pinfo, tree)
    local function stray(reason)
        tree:add_proto_expert_info(not_a_frame, "Not a frame (" .. reason .. "): a unit lets it pass")
        pinfo.cols.info = "Not a frame: " .. reason
    end
    local function damage(rule, why)
        tree:add_proto_expert_info(damaged, "Damaged frame (" .. rule .. "): " .. why)
        pinfo.cols.info:append(" [damaged: " .. why .. "]")
    end
    local length = buffer:len()
    local bytes = buffer():raw()
    pinfo.cols.info = "Command"
    -- The outer shape decides whether this is a frame at all.
    if length < SHORTEST_FRAME then return stray("too-short") end
    if length > LONGEST_FRAME then return stray("too-long") end
    if bytes:byte(1) ~= 0xF1 then return stray("no-start-byte") end
    if bytes:byte(length) ~= 0xF2 then return stray("no-end-byte") end

    -- From here on a broken rule is damage. In Lua's 1-based positions: the
    -- lead at 2, ID digits from 4, then "@", the command, CR; all before the end byte.
    if bytes:sub(2, 3) ~= "\1\4" then return damage("bad-lead", "the lead is not 01 04") end
    local at = 4
    while at < length and is_digit(bytes:byte(at)) and at - 4 < 4 do at = at + 1 end
    local digits = at - 4
    if digits < 1 or digits > 3 or at >= length or bytes:byte(at) ~= 0x40 then
        return damage("bad-unit-id", "no unit ID of 1 to 3 digits before \"@\"")
    end
    local cr = bytes:find("\r", at + 1, true)
    if not cr then return damage("no-carriage-return", "no CR ending the command") end
    tree:add(fields.unit_id, buffer(3, digits))
    tree:add(fields.command, buffer(at, cr - at - 1))
    pinfo.cols.info = string.format("Unit %s: %s", bytes:sub(4, at - 1), bytes:sub(at + 1, cr - 1))

    local first = bytes:byte(cr + 1)
    local width = (first == 0xFF and 3) or (first == 0xFE and 4) or 1
    if cr + width ~= length - 1 then
        return damage("checksum-length", "checksum field of the wrong length")
    end
    local written = bytes:sub(cr + 1, cr + width)
    local sum = 0
    for i = 2, cr do sum = sum + bytes:byte(i) end
    local good = written == checksum_field(sum)
    tree:add(fields.checksum, buffer(cr, width), checksum_value(written))
    tree:add(fields.checksum_good, buffer(cr, width), good)
    if not good then
        damage("checksum-mismatch", string.format("checksum does not match the sum %d", sum))
    end
end

function tesk2.dissector(buffer, pinfo, tree)
    if buffer:len() == 0 then return 0 end
    pinfo.cols.protocol = "Tesk2"
    local subtree = tree:add(tesk2, buffer())
    if pinfo.dst_port == UNIT_PORT then
        dissect_command(buffer, pinfo, subtree)
    else
        subtree:add(fields.reply, buffer())
        pinfo.cols.info = "Reply: " .. buffer():string()
    end
    return buffer:len()
end

DissectorTable.get("udp.port"):add(UNIT_PORT, tesk2)
